#include "platform/base/startup_steps.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

namespace platform {
namespace {

// A function's own static: the modules' initialisers may run before this file's.
std::vector<StartupStep>& Steps() {
    static std::vector<StartupStep> steps;
    return steps;
}

// Filled while StartupSteps begins the steps; emptied from the front by its thread and by the
// program's own while it waits.
struct PendingWork {
    std::mutex lock;
    bool collecting = false;
    std::deque<std::function<void()>> pieces;
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
    PendingWork& pending = Pending();
    {
        const std::lock_guard<std::mutex> guard(pending.lock);
        if (pending.collecting) {
            pending.pieces.push_back(std::move(work));
            return;
        }
    }
    work();
}

bool DoQueuedStartupWork() {
    PendingWork& pending = Pending();
    std::function<void()> piece;
    {
        const std::lock_guard<std::mutex> guard(pending.lock);
        if (pending.pieces.empty()) return false;
        piece = std::move(pending.pieces.front());
        pending.pieces.pop_front();
    }
    piece();
    return true;
}

StartupSteps::StartupSteps() {
    std::vector<StartupStep>& steps = Steps();
    std::stable_sort(steps.begin(), steps.end(),
                     [](const StartupStep& a, const StartupStep& b) { return a.need < b.need; });
    {
        const std::lock_guard<std::mutex> guard(Pending().lock);
        Pending().collecting = true;
    }
    for (const StartupStep& step : steps) step.begin();
    {
        const std::lock_guard<std::mutex> guard(Pending().lock);
        Pending().collecting = false;
    }
    worker_ = std::thread([] {
        while (DoQueuedStartupWork()) {
        }
    });
}

StartupSteps::~StartupSteps() {
    for (const StartupStep& step : Steps()) {
        try {
            step.end();
        } catch (...) {
            // The program is ending: what a step could not make is not wanted any more.
        }
    }
    worker_.join();
}

}  // namespace platform
