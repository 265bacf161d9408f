#include "support/frame_copy.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

namespace bench {

double MeasureFrameCopySeconds(std::size_t frameBytes) {
    std::vector<std::uint32_t> source(frameBytes / 4, 0x00123456);
    std::vector<std::uint32_t> target(frameBytes / 4, 0);
    std::memcpy(target.data(), source.data(), frameBytes);
    constexpr int kCopies = 100;
    const auto start = std::chrono::steady_clock::now();
    for (int copy = 0; copy < kCopies; ++copy) {
        std::memcpy(target.data(), source.data(), frameBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
           kCopies;
}

void ReportFrameCopies(benchmark::State& state, double seconds, double frameCopySeconds) {
    state.counters["frame_copies"] =
        seconds / static_cast<double>(state.iterations()) / frameCopySeconds;
    state.counters["frame_copy_ms"] = frameCopySeconds * 1000.0;
}

void RunFrameCopies(benchmark::State& state, std::size_t frameBytes) {
    std::vector<std::uint32_t> source(frameBytes / 4, 0x00123456);
    std::vector<std::uint32_t> target(frameBytes / 4, 0);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), frameBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(frameBytes));
}

}  // namespace bench
