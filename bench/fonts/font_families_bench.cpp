// Opening a font picker: the installed families enumerated and appended to a drop-down list in a
// headless window, on this machine's fonts and on a private fontconfig setup with thousands of
// families. The "families" counter is how many entries the list got.
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "platform/backends/headless/headless_backend.h"
#include "platform/controls/combo_box.h"
#include "platform/graphics/font_families.h"
#include "platform/graphics/gdi.h"
#include "platform/windows/cwnd.h"
#include "platform/windows/window_api.h"

namespace {

constexpr int kManyFamilies = 3000;
const char kSampleFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

int AddToList(const LOGFONT* logFont, const TEXTMETRIC* /*metrics*/, DWORD /*type*/, LPARAM data) {
    auto* list = reinterpret_cast<CComboBox*>(data);
    list->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(logFont->lfFaceName));
    return 1;
}

// Enumerates into a fresh list each time, as each opening of the picker does.
void EnumerateIntoList(benchmark::State& state) {
    platform::InstallHeadlessBackend(platform::DisplayInfo{480, 640, 96});
    CWnd window;
    window.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 480, 640, nullptr,
                    nullptr);
    CComboBox list;
    list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(1, 1, 479, 400),
                &window, 1001);
    HDC dc = ::GetDC(window.m_hWnd);
    for (auto _ : state) {
        list.ResetContent();
        EnumFontFamilies(dc, nullptr, AddToList, reinterpret_cast<LPARAM>(&list));
        list.SetCurSel(0);
    }
    state.counters["families"] = list.GetCount();
    ::ReleaseDC(window.m_hWnd, dc);
    list.DestroyWindow();
    window.DestroyWindow();
}

// Fontconfig's answer alone, every time from fontconfig.
void QueryFontconfig(benchmark::State& state) {
    std::size_t families = 0;
    for (auto _ : state) {
        families = platform::InstalledFontFamilies().size();
        benchmark::DoNotOptimize(families);
    }
    state.counters["families"] = static_cast<double>(families);
}

void BM_SystemFontsIntoList(benchmark::State& state) { EnumerateIntoList(state); }
void BM_SystemFontsQuery(benchmark::State& state) { QueryFontconfig(state); }

// A private fontconfig setup of kManyFamilies font files, each renamed to a family of its own
// while fontconfig scans it, made current for the rest of the program.
bool InstallManyFamilies() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("tavrel-font-bench-" + std::to_string(::getpid()));
    std::error_code error;
    std::filesystem::create_directories(folder / "fonts", error);
    std::string rules = "<?xml version=\"1.0\"?><fontconfig><cachedir>" +
                        (folder / "cache").string() + "</cachedir>";
    for (int index = 0; index < kManyFamilies; ++index) {
        char name[32];
        std::snprintf(name, sizeof name, "f%04d.ttf", index);
        const std::filesystem::path file = folder / "fonts" / name;
        std::filesystem::create_symlink(kSampleFont, file, error);
        char family[32];
        std::snprintf(family, sizeof family, "Family %04d", index);
        rules += "<match target=\"scan\"><test name=\"file\"><string>" + file.string() +
                 "</string></test><edit name=\"family\" mode=\"assign\" binding=\"same\"><string>" +
                 family + "</string></edit></match>";
    }
    rules += "</fontconfig>";
    FcConfig* config = FcConfigCreate();
    if (config == nullptr ||
        !FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(rules.c_str()),
                                        FcTrue) ||
        !FcConfigAppFontAddDir(
            config, reinterpret_cast<const FcChar8*>((folder / "fonts").string().c_str())) ||
        !FcConfigSetCurrent(config)) {
        return false;
    }
    FcConfigDestroy(config);  // the current configuration keeps its own reference
    std::filesystem::remove_all(folder, error);
    return true;
}

void BM_ThousandsOfFamiliesQuery(benchmark::State& state) {
    static const bool installed = InstallManyFamilies();
    if (!installed) {
        state.SkipWithError("cannot set up the private fonts");
        return;
    }
    QueryFontconfig(state);
}
void BM_ThousandsOfFamiliesIntoList(benchmark::State& state) { EnumerateIntoList(state); }

}  // namespace

BENCHMARK(BM_SystemFontsQuery)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SystemFontsIntoList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThousandsOfFamiliesQuery)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThousandsOfFamiliesIntoList)->Unit(benchmark::kMillisecond);
