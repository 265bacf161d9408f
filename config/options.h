// The options file (options.ini, section main_settings): the appearance of the launcher's menu,
// read by both programs and written by the settings editor.
#pragma once

#include <string>

#include "config/color_font.h"
#include "config/ini_document.h"

struct Options {
    bool use_system_colors = false;
    ColorTriple odd_item;
    ColorTriple even_item;
    ColorTriple active_item;
    ColorTriple font;
    ColorTriple active_font;
    ColorTriple slider;
    bool use_system_font = false;
    FontValue item_font;
    bool use_system_item_height = false;
    std::int32_t user_item_height = 0;
    bool use_system_menu_pos = false;
    std::int32_t user_menu_pos_TL_X = 0;
    std::int32_t user_menu_pos_TL_Y = 0;
    std::int32_t user_menu_pos_BR_X = 0;
    std::int32_t user_menu_pos_BR_Y = 0;
    bool use_menu_inertia = false;
    BYTE pos_item_text = 0;  // 0 centre, 1 left, 2 right

    bool operator==(const Options&) const = default;
};

inline constexpr const char* kOptionsSection = "main_settings";

// Where the options came from.
enum class OptionsSource {
    File,        // the file, key by key
    Missing,     // no file could be read (or it was empty): the values that follow the system
    Unreadable,  // a file with no key of main_settings in it (LF line ends, garbage): the same
};

// Reads options.ini from the program's folder.
OptionsSource LoadOptions(Options& options);
// Reads the given file. A file that cannot be read, or from which no key of main_settings can
// be read, gives the values that follow the system; keys missing from a file with any of them
// give 0, false and empty.
OptionsSource LoadOptionsFromFile(Options& options, const std::wstring& path);
// The document of the whole file: section main_settings with every key in the fixed order.
void FillOptionsDocument(const Options& options, IniDocument& document);
// Writes that document as the file.
bool SaveOptionsFile(const Options& options, const std::wstring& path);
// The path of options.ini next to the program.
std::wstring OptionsPath();
