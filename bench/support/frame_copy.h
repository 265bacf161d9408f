// The baseline that speed targets are measured against: one memcpy of a full frame, timed in the
// same run as the benchmark so that both see the same machine.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

namespace bench {

// Bytes of a 32-bit frame of the given size.
constexpr std::size_t FrameBytes(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
}

// Seconds for one memcpy of `frameBytes` between two warm buffers, averaged over a run of copies.
double MeasureFrameCopySeconds(std::size_t frameBytes);

// Reports `seconds` spent over the state's iterations as frame copies per iteration.
void ReportFrameCopies(benchmark::State& state, double seconds, double frameCopySeconds);

// The baseline as a benchmark of its own, so that its spread shows beside the others.
void RunFrameCopies(benchmark::State& state, std::size_t frameBytes);

}  // namespace bench
