// Timing a program's start on a virtual screen: Xvfb screens kept for the run, one spawn timed
// to the program's first presented frame (which the SDL backend writes to TAVREL_FIRST_FRAME_FILE),
// and the repetitions and statistics every start-up benchmark reports.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace startup {

// A fresh folder under the temporary directory, named `prefix` and a unique tail; empty when it
// cannot be made.
std::string TemporaryFolder(const char* prefix);

// The display (":N") of an Xvfb screen of this size, started on first use and kept until the
// program ends; empty when Xvfb cannot be started.
const std::string& ScreenDisplay(int width, int height);

struct StartResult {
    double seconds = 0;         // from just before the spawn to the first present
    double residentMb = 0;      // resident memory just after the first present
    double peakResidentMb = 0;  // the most it held until then
    double cpuMs = 0;           // processor time it used until then (a busy machine's waits aside)
};

// One start: spawns `program` on `display`, waits for the time of its first present, then ends
// it. On failure says why in `error`.
std::optional<StartResult> TimeOneStart(const std::string& display, const std::string& program,
                                        const std::string& frameFile, std::string* error);

// Puts `program` at `destination` (a hard link, or a copy across file systems): the programs
// find their files next to themselves. False when neither works.
bool PlaceProgram(const std::string& program, const std::string& destination);

// Entries a user's list holds: folders, documents and a web page first, then this machine's
// programs in name order, repeated when there are too few.
std::vector<std::string> MachineEntries(std::size_t count);

// Writes `entries` as the launcher's settings.ini (CR LF line ends); false when it cannot.
bool WriteEntriesFile(const std::string& path, const std::vector<std::string>& entries);

double Median(std::vector<double> values);

// A program built beside the benchmark, or another build of it named by the environment variable
// `variable` (a copy of an earlier build, say) to compare with.
std::string ProgramUnderTest(const char* variable, const char* builtBeside);

// One start per repetition, 20 repetitions, reported as min, max, mean, median and spread in ms.
void StartStatistics(benchmark::internal::Benchmark* benchmark);

}  // namespace startup
