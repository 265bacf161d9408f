// Runs a piece of a test in a child process with a time limit and (outside the sanitizer build) a
// memory limit, for code that when broken would block forever or take all memory: the test then
// fails instead of hanging the suite or the machine. The memory limit also checks what a piece of
// work may cost.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <functional>
#include <string>

namespace child_process {

// How much the child's data (heap and private writable mappings; files mapped for reading, such
// as font caches, do not count) may grow beyond what it holds when it starts. Not limited in the
// sanitizer build, which reserves terabytes up front.
constexpr rlim_t kDefaultGrowth = rlim_t{1} << 30;

// The data the process holds now, from /proc/self/status.
inline rlim_t DataBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmData:", 0) == 0)
            return std::strtoull(line.c_str() + 7, nullptr, 10) << 10;
    }
    return 0;
}

// Runs `body` in a child; the child's failed expectations print there as usual, and the test
// fails when the child failed one, crashed (running out of memory included), or ran past
// `seconds`.
inline void ExpectInChild(unsigned seconds, const std::function<void()>& body,
                          rlim_t memoryGrowth = kDefaultGrowth) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(seconds);
#if !defined(__SANITIZE_ADDRESS__)
        const rlim_t bytes = DataBytes() + memoryGrowth;
        const rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_DATA, &limit);
#else
        (void)memoryGrowth;
#endif
        // Nothing may leave the child but its exit: an exception would go on running the test,
        // and then the rest of the suite, in the child.
        int code = 1;
        try {
            body();
            code = ::testing::Test::HasFailure() ? 1 : 0;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "the child threw: %s\n", error.what());
        } catch (...) {
            std::fprintf(stderr, "the child threw\n");
        }
        std::fflush(nullptr);
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFSIGNALED(status)) {
        ADD_FAILURE() << (WTERMSIG(status) == SIGALRM
                              ? "the child ran past its " + std::to_string(seconds) + " s"
                              : "the child ended on signal " + std::to_string(WTERMSIG(status)));
    } else {
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the child failed";
    }
}

}  // namespace child_process
