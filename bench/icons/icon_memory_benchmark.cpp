// Memory and time of the first draw of an icon from an oversized PNG file: one whose header
// claims 8000 x 8000 pixels in 68 bytes, and a real 8192 x 8192 picture. Each draw runs in a
// child process of its own, which reports the rise of its peak resident memory during the draw
// (target: a few megabytes) and the draw's time.
#include <benchmark/benchmark.h>
#include <png.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/gdi.h"
#include "platform/graphics/icon.h"
#include "tests/icons/icon_test_support.h"

namespace {

constexpr int kDrawSize = 32;

// A side x side RGBA picture of soft rings, written row by row (it never exists whole in memory).
bool WriteLargePicture(const std::string& path, int side) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, static_cast<png_uint_32>(side), static_cast<png_uint_32>(side), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(side) * 4);
    const long long centre = side / 2;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const long long distance = (x - centre) * (x - centre) + (y - centre) * (y - centre);
            png_byte* pixel = &row[static_cast<std::size_t>(x) * 4];
            pixel[0] = static_cast<png_byte>(distance >> 12);
            pixel[1] = static_cast<png_byte>(x >> 5);
            pixel[2] = static_cast<png_byte>(y >> 5);
            pixel[3] = distance < centre * centre ? 255 : 0;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

class Pictures {
  public:
    Pictures() {
        hugeHeader_ = folder_.Path() + "/huge-header.png";
        large_ = folder_.Path() + "/large.png";
        ready_ = icon_test::WriteHugeHeaderPng(hugeHeader_, 8000, 8000) &&
                 WriteLargePicture(large_, 8192);
    }
    bool Ready() const { return ready_; }
    const std::string& HugeHeader() const { return hugeHeader_; }
    const std::string& Large() const { return large_; }

  private:
    icon_test::TemporaryFolder folder_;
    std::string hugeHeader_;
    std::string large_;
    bool ready_ = false;
};

const Pictures& Files() {
    static const Pictures pictures;
    return pictures;
}

// A line of /proc/self/status such as "VmHWM:" in kilobytes.
long StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + field.size());
    }
    return 0;
}

double Seconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct DrawCost {
    double peakRiseMb = 0;
    double seconds = 0;
    bool drawn = false;
};

// Runs in the child: resets the peak, makes an icon of the file and draws it once.
DrawCost DrawOnce(const std::string& path) {
    icon_test::MemoryCanvas canvas(kDrawSize, kDrawSize);
    auto files =
        std::make_shared<const std::vector<platform::IconFile>>(1, platform::IconFileForPath(path));
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const long before = StatusKilobytes("VmRSS:");
    const double start = Seconds();
    HICON icon = platform::CreateIconFromFiles(files, SIZE{kDrawSize, kDrawSize});
    DrawCost cost;
    cost.drawn = DrawIconEx(canvas.Dc(), 0, 0, icon, kDrawSize, kDrawSize, 0, nullptr, DI_NORMAL);
    cost.seconds = Seconds() - start;
    cost.peakRiseMb = static_cast<double>(StatusKilobytes("VmHWM:") - before) / 1024.0;
    DestroyIcon(icon);
    return cost;
}

bool DrawInChild(const std::string& path, DrawCost* cost) {
    int ends[2];
    if (::pipe(ends) != 0) return false;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ends[0]);
        const DrawCost measured = DrawOnce(path);
        const bool sent = ::write(ends[1], &measured, sizeof measured) == sizeof measured;
        ::_exit(sent ? 0 : 1);
    }
    ::close(ends[1]);
    const bool received = pid > 0 && ::read(ends[0], cost, sizeof *cost) == sizeof *cost;
    ::close(ends[0]);
    if (pid > 0) ::waitpid(pid, nullptr, 0);
    return received;
}

void Measure(benchmark::State& state, const std::string& path) {
    if (!Files().Ready()) {
        state.SkipWithError("cannot write the pictures");
        return;
    }
    for (auto _ : state) {
        DrawCost cost;
        if (!DrawInChild(path, &cost)) {
            state.SkipWithError("the drawing child failed");
            return;
        }
        state.SetIterationTime(cost.seconds);
        state.counters["peak_rise_MB"] = cost.peakRiseMb;
        state.counters["drawn"] = cost.drawn ? 1 : 0;
    }
}

void BM_HugeHeaderPngFirstDraw(benchmark::State& state) { Measure(state, Files().HugeHeader()); }
void BM_Large8192PngFirstDraw(benchmark::State& state) { Measure(state, Files().Large()); }

BENCHMARK(BM_HugeHeaderPngFirstDraw)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large8192PngFirstDraw)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
