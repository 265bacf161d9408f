#include "platform/base/startup_steps.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {
namespace {

// A function's own static: the modules' initialisers may run before this file's.
std::vector<StartupStep>& Steps() {
    static std::vector<StartupStep> steps;
    return steps;
}

// Filled while StartupSteps begins the steps, then handed to its thread.
struct PendingWork {
    bool collecting = false;
    std::vector<std::function<void()>> pieces;
};
PendingWork& Pending() {
    static PendingWork pending;
    return pending;
}

}  // namespace

bool AddStartupStep(StartupStep step) {
    Steps().push_back(step);
    return true;
}

void QueueStartupWork(std::function<void()> work) {
    if (Pending().collecting) {
        Pending().pieces.push_back(std::move(work));
    } else {
        work();
    }
}

StartupSteps::StartupSteps() {
    std::vector<StartupStep>& steps = Steps();
    std::stable_sort(steps.begin(), steps.end(),
                     [](const StartupStep& a, const StartupStep& b) { return a.need < b.need; });
    Pending().collecting = true;
    for (const StartupStep& step : steps) step.begin();
    Pending().collecting = false;
    std::vector<std::function<void()>> work = std::exchange(Pending().pieces, {});
    if (!work.empty()) {
        worker_ = std::thread([work = std::move(work)] {
            for (const std::function<void()>& piece : work) piece();
        });
    }
}

StartupSteps::~StartupSteps() {
    for (const StartupStep& step : Steps()) step.end();
    if (worker_.joinable()) worker_.join();
}

}  // namespace platform
