// Start-up work that needs nothing from the screen (fontconfig's configuration, the icon themes'
// indexes): the modules a program links add a step, and the entry point has them all done on
// a thread of their own while it opens the screen, on the other core. A program that has to
// wait for one does the others no thread has begun meanwhile.
#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

namespace platform {

// When the program needs a step's work: the thread does the steps in this order.
enum class StartupNeed { beforeTheWindow, atTheFirstPaint };

struct StartupStep {
    StartupNeed need;
    void (*begin)();  // hands the work to the thread (StartupResult::Begin)
    void (*end)();    // waits for it; the work's first use does the same
};

// For a namespace-scope initialiser of the module that owns the step; always true.
bool AddStartupStep(StartupStep step);

// The entry point's: begins every step added and ends them all when it goes, whichever way the
// program ends, so that no work outlives what it uses.
class StartupSteps {
  public:
    StartupSteps();
    ~StartupSteps();
    StartupSteps(const StartupSteps&) = delete;
    StartupSteps& operator=(const StartupSteps&) = delete;

  private:
    std::thread worker_;
};

// Work for the steps' thread while StartupSteps begins them; done at once anywhere else.
void QueueStartupWork(std::function<void()> work);
// Does, on the calling thread, the first piece of work no thread has begun; false when none is
// left.
bool DoQueuedStartupWork();

// What a step makes on the steps' thread: the first Take waits for it and hands it over. For
// the program's own thread only.
template <typename Result>
class StartupResult {
  public:
    template <typename Work>
    void Begin(Work work) {
        auto task = std::make_shared<std::packaged_task<Result()>>(std::move(work));
        future_ = task->get_future();
        QueueStartupWork([task] { (*task)(); });
    }
    // The result, once; nothing when the step never began (a test, a program without the entry
    // point) or was taken before. Rethrows what the work threw, where the work would have.
    std::optional<Result> Take() {
        if (!future_.valid()) return std::nullopt;
        while (future_.wait_for(std::chrono::seconds(0)) != std::future_status::ready &&
               DoQueuedStartupWork()) {
        }
        return future_.get();
    }

  private:
    std::future<Result> future_;
};

}  // namespace platform
