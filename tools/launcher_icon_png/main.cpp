// Writes the launcher's drawn icon as PNG files of the given sizes, laid out as an icon theme
// folder (NxN/apps/tavrel.png), so the installed icons are the very drawing the program shows.
// Usage: launcher_icon_png FOLDER SIZE...
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "platform/graphics/png_io.h"
#include "resources/launcher_icon.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "Usage: %s FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    for (int index = 2; index < argc; ++index) {
        char* end = nullptr;
        const long size = std::strtol(argv[index], &end, 10);
        if (end == argv[index] || *end != '\0' || size < 1 || size > 1024) {
            std::fprintf(stderr, "%s: not an icon size: %s\n", argv[0], argv[index]);
            return 2;
        }
        const std::string side = std::to_string(size);
        const std::filesystem::path apps = folder / (side + "x" + side) / "apps";
        std::error_code error;
        std::filesystem::create_directories(apps, error);
        platform::IconGroupImage drawn = DrawLauncherIcon(static_cast<int>(size));
        const platform::RgbaImage image{drawn.width, drawn.height, std::move(drawn.pixels)};
        const std::filesystem::path file = apps / "tavrel.png";
        if (error || !platform::WritePngWithAlpha(file.string(), image)) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], file.c_str());
            return 1;
        }
    }
    return 0;
}
