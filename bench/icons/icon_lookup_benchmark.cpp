// Costs of finding and drawing icons at launcher start-up: the first lookup (which builds the
// theme and desktop-entry indexes), later lookups, the first draw (decode and scale) and later
// draws (a blend). Run on a generated desktop of 1,000 programs and on this system's own.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/device_context.h"
#include "platform/graphics/gdi.h"
#include "platform/graphics/icon.h"
#include "platform/graphics/png_io.h"
#include "platform/shell/file_info.h"

namespace {

constexpr int kPrograms = 1000;
constexpr int kIconSize = 32;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A theme inheriting hicolor with 1,000 icons in four sizes plus SVGs, and 1,000 programs each
// with a desktop entry, laid out like a real system's, in a temporary folder.
class GeneratedDesktop {
  public:
    GeneratedDesktop() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavrel-icon-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        root_ = pattern;
        const std::vector<int> sizes{16, 24, 32, 48};
        std::string index = "[Icon Theme]\nName=Bench\nInherits=hicolor\nDirectories=";
        for (int size : sizes) index += Folder(size) + ",";
        index += "scalable/apps\n";
        for (int size : sizes) {
            index += "[" + Folder(size) + "]\nSize=" + std::to_string(size) + "\nType=Fixed\n";
        }
        index += "[scalable/apps]\nSize=48\nType=Scalable\nMinSize=16\nMaxSize=512\n";
        Write("share/icons/Bench/index.theme", index);
        Write("share/icons/hicolor/index.theme", "[Icon Theme]\nName=hicolor\nDirectories=\n");
        Write("config/gtk-3.0/settings.ini", "[Settings]\ngtk-icon-theme-name=Bench\n");

        std::vector<std::string> pngBytes;
        for (int size : sizes) pngBytes.push_back(SolidPng(size));
        const std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48">)"
                                R"(<circle cx="24" cy="24" r="20" fill="#3366cc"/></svg>)";
        for (int n = 0; n < kPrograms; ++n) {
            const std::string name = "program-" + std::to_string(n);
            for (std::size_t s = 0; s < sizes.size(); ++s) {
                Write("share/icons/Bench/" + Folder(sizes[s]) + "/" + name + ".png", pngBytes[s]);
            }
            Write("share/icons/Bench/scalable/apps/" + name + ".svg", svg);
            const std::string program = Write("bin/" + name, "#!/bin/sh\n");
            ::chmod(program.c_str(), 0755);
            programs_.push_back(program);
            Write("share/applications/" + name + ".desktop",
                  "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + name +
                      " %U\nIcon=" + name + "\n");
        }
    }
    ~GeneratedDesktop() {
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }
    GeneratedDesktop(const GeneratedDesktop&) = delete;
    GeneratedDesktop& operator=(const GeneratedDesktop&) = delete;

    void Use() const {
        ::setenv("HOME", (root_ + "/home").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root_ + "/home/.local/share").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (root_ + "/share").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
        ::setenv("PATH", (root_ + "/bin").c_str(), 1);
        platform::ResetIconLookupCaches();
    }
    const std::string& Program(int n) const { return programs_[n % programs_.size()]; }

  private:
    static std::string Folder(int size) {
        return std::to_string(size) + "x" + std::to_string(size) + "/apps";
    }
    std::string Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path path = std::filesystem::path(root_) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::string SolidPng(int size) const {
        std::optional<platform::Surface> surface = platform::Surface::Create(size, size);
        surface->Fill(surface->Bounds(), 0x3366CC);
        const std::string path = root_ + "/solid.png";
        platform::WritePng(path, *surface, surface->Bounds());
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string root_;
    std::vector<std::string> programs_;
};

const GeneratedDesktop& Generated() {
    static const GeneratedDesktop desktop;
    return desktop;
}

HICON LookUp(const std::string& path) {
    SHFILEINFO info;
    SHGetFileInfo(Wide(path).c_str(), 0, &info, sizeof info, SHGFI_ICON);
    return info.hIcon;
}

// Start-up: empty caches, then `count` different programs looked up.
void GeneratedStartUp(benchmark::State& state) {
    const GeneratedDesktop& desktop = Generated();
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        desktop.Use();
        state.ResumeTiming();
        for (int n = 0; n < count; ++n) DestroyIcon(LookUp(desktop.Program(n)));
    }
}
BENCHMARK(GeneratedStartUp)->Arg(1)->Arg(20)->Arg(1000)->Unit(benchmark::kMillisecond);

void GeneratedCachedLookUp(benchmark::State& state) {
    const GeneratedDesktop& desktop = Generated();
    desktop.Use();
    for (int n = 0; n < kPrograms; ++n) DestroyIcon(LookUp(desktop.Program(n)));
    int n = 0;
    for (auto _ : state) DestroyIcon(LookUp(desktop.Program(n++)));
}
BENCHMARK(GeneratedCachedLookUp)->Unit(benchmark::kMicrosecond);

class Canvas {
  public:
    Canvas() : dc_(CreateCompatibleDC(nullptr)), bitmap_(CreateCompatibleBitmap(dc_, 64, 64)) {
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC Dc() const { return dc_; }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_ = nullptr;
};

// The first draw of an icon: its PNG decoded (the 48 pixel one, shrunk to 32) or its SVG
// rendered, then blended. Every icon is destroyed, so the next round decodes again.
void FirstDraw(benchmark::State& state) {
    const GeneratedDesktop& desktop = Generated();
    desktop.Use();
    const int size = static_cast<int>(state.range(0));
    Canvas canvas;
    int n = 0;
    for (auto _ : state) {
        HICON icon = LookUp(desktop.Program(n++));
        DrawIconEx(canvas.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    }
}
BENCHMARK(FirstDraw)->Arg(kIconSize)->Arg(64)->Unit(benchmark::kMicrosecond);

void CachedDraw(benchmark::State& state) {
    const GeneratedDesktop& desktop = Generated();
    desktop.Use();
    Canvas canvas;
    HICON icon = LookUp(desktop.Program(0));
    for (auto _ : state) {
        DrawIconEx(canvas.Dc(), 0, 0, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    }
    DestroyIcon(icon);
}
BENCHMARK(CachedDraw)->Unit(benchmark::kMicrosecond);

// This machine's own theme and applications (whatever is installed): the first lookup builds
// the real theme index; skipped where there is no /usr/share/icons.
void SystemStartUp(benchmark::State& state) {
    std::vector<std::string> programs;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/bin", error)) {
        programs.push_back(entry.path().string());
        if (programs.size() == 20) break;
    }
    if (programs.empty() || !std::filesystem::exists("/usr/share/icons")) {
        state.SkipWithError("no system programs or icons");
        return;
    }
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_DATA_DIRS");
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("PATH", "/usr/local/bin:/usr/bin:/bin", 1);
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        platform::ResetIconLookupCaches();
        state.ResumeTiming();
        for (int n = 0; n < count; ++n) {
            DestroyIcon(LookUp(programs[static_cast<std::size_t>(n) % programs.size()]));
        }
    }
}
BENCHMARK(SystemStartUp)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace
