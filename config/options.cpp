#include "config/options.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "config/ini_document.h"
#include "config/program_folder.h"

namespace {

BYTE ReadAlignment(const IniDocument& document) {
    const char* text = IniGetValue(document, kOptionsSection, "pos_item_text");
    if (text == nullptr) return 0;
    if (std::strcmp(text, "left") == 0) return 1;
    if (std::strcmp(text, "right") == 0) return 2;
    return 0;
}

const char* AlignmentText(BYTE code) {
    switch (code) {
        case 1:
            return "left";
        case 2:
            return "right";
        default:
            return "center";
    }
}

// What the launcher shows when there is no options file to read: it follows the system.
Options SystemOptions() {
    Options options;
    options.use_system_colors = true;
    options.use_system_font = true;
    options.use_system_item_height = true;
    options.use_system_menu_pos = true;
    options.use_menu_inertia = true;
    options.pos_item_text = 0;
    return options;
}

// Every key the options file may hold, in the order the editor writes them.
constexpr const char* kOptionKeys[] = {"use_system_colors",
                                       "odd_item.r",
                                       "odd_item.g",
                                       "odd_item.b",
                                       "even_item.r",
                                       "even_item.g",
                                       "even_item.b",
                                       "active_item.r",
                                       "active_item.g",
                                       "active_item.b",
                                       "font.r",
                                       "font.g",
                                       "font.b",
                                       "active_font.r",
                                       "active_font.g",
                                       "active_font.b",
                                       "slider.r",
                                       "slider.g",
                                       "slider.b",
                                       "use_system_font",
                                       "item_font.name",
                                       "item_font.bold",
                                       "item_font.italic",
                                       "item_font.size",
                                       "use_system_item_height",
                                       "user_item_height",
                                       "use_system_menu_pos",
                                       "user_menu_pos_TL_X",
                                       "user_menu_pos_TL_Y",
                                       "user_menu_pos_BR_X",
                                       "user_menu_pos_BR_Y",
                                       "pos_item_text",
                                       "use_menu_inertia"};

// A file that yields none of the keys (LF line ends, only a header, garbage) holds nothing the
// user chose: reading it key by key would give black on black and rows 0 pixels high.
bool HoldsAnyOptionKey(const IniDocument& document) {
    return std::any_of(std::begin(kOptionKeys), std::end(kOptionKeys), [&](const char* key) {
        return IniGetValue(document, kOptionsSection, key) != nullptr;
    });
}

}  // namespace

std::wstring OptionsPath() { return ProgramFolder() + L"options.ini"; }

OptionsSource LoadOptions(Options& options) { return LoadOptionsFromFile(options, OptionsPath()); }

OptionsSource LoadOptionsFromFile(Options& options, const std::wstring& path) {
    IniDocument document;
    if (!IniRead(document, path)) {
        options = SystemOptions();
        return OptionsSource::Missing;
    }
    if (!HoldsAnyOptionKey(document)) {
        IniFree(document);
        options = SystemOptions();
        return OptionsSource::Unreadable;
    }
    const char* section = kOptionsSection;
    options.use_system_colors = IniGetBool(document, section, "use_system_colors");
    IniGetColor(document, options.odd_item, "odd_item", section);
    IniGetColor(document, options.even_item, "even_item", section);
    IniGetColor(document, options.active_item, "active_item", section);
    IniGetColor(document, options.font, "font", section);
    IniGetColor(document, options.active_font, "active_font", section);
    IniGetColor(document, options.slider, "slider", section);
    options.use_system_font = IniGetBool(document, section, "use_system_font");
    IniGetFont(document, options.item_font, "item_font", section);
    options.use_system_item_height = IniGetBool(document, section, "use_system_item_height");
    options.user_item_height = IniGetInt(document, section, "user_item_height");
    options.use_system_menu_pos = IniGetBool(document, section, "use_system_menu_pos");
    options.user_menu_pos_TL_X = IniGetInt(document, section, "user_menu_pos_TL_X");
    options.user_menu_pos_TL_Y = IniGetInt(document, section, "user_menu_pos_TL_Y");
    options.user_menu_pos_BR_X = IniGetInt(document, section, "user_menu_pos_BR_X");
    options.user_menu_pos_BR_Y = IniGetInt(document, section, "user_menu_pos_BR_Y");
    options.use_menu_inertia = IniGetBool(document, section, "use_menu_inertia");
    options.pos_item_text = ReadAlignment(document);
    IniFree(document);
    return OptionsSource::File;
}

void FillOptionsDocument(const Options& options, IniDocument& document) {
    const char* section = kOptionsSection;
    IniSetBool(document, section, "use_system_colors", options.use_system_colors);
    IniSetColor(document, options.odd_item, "odd_item", section);
    IniSetColor(document, options.even_item, "even_item", section);
    IniSetColor(document, options.active_item, "active_item", section);
    IniSetColor(document, options.font, "font", section);
    IniSetColor(document, options.active_font, "active_font", section);
    IniSetColor(document, options.slider, "slider", section);
    IniSetBool(document, section, "use_system_font", options.use_system_font);
    IniSetFont(document, options.item_font, "item_font", section);
    IniSetBool(document, section, "use_system_item_height", options.use_system_item_height);
    IniSetInt(document, section, "user_item_height", options.user_item_height, TRUE);
    IniSetBool(document, section, "use_system_menu_pos", options.use_system_menu_pos);
    IniSetInt(document, section, "user_menu_pos_TL_X", options.user_menu_pos_TL_X, TRUE);
    IniSetInt(document, section, "user_menu_pos_TL_Y", options.user_menu_pos_TL_Y, TRUE);
    IniSetInt(document, section, "user_menu_pos_BR_X", options.user_menu_pos_BR_X, TRUE);
    IniSetInt(document, section, "user_menu_pos_BR_Y", options.user_menu_pos_BR_Y, TRUE);
    IniSetValue(document, section, "pos_item_text", AlignmentText(options.pos_item_text), TRUE);
    IniSetBool(document, section, "use_menu_inertia", options.use_menu_inertia);
}

bool SaveOptionsFile(const Options& options, const std::wstring& path) {
    IniDocument document;
    FillOptionsDocument(options, document);
    const bool written = IniWrite(document, path);
    IniFree(document);
    return written;
}
