#include "config/color_font.h"

#include <cstring>

#include "config/code_page.h"
#include "config/ini_document.h"
#include "config/number_text.h"

namespace {

// The key for a prefix and suffix, bounded like the original 260-byte buffer.
std::string GroupKey(const char* prefix, const char* suffix) {
    std::string key = std::string(prefix) + suffix;
    if (key.size() >= kTextBufferSize) key.resize(kTextBufferSize - 1);
    return key;
}

BYTE ReadByte(const IniDocument& document, const char* section, const char* prefix,
              const char* suffix) {
    return static_cast<BYTE>(IniGetInt(document, section, GroupKey(prefix, suffix).c_str()) & 0xFF);
}

}  // namespace

void IniGetColor(const IniDocument& document, ColorTriple& color, const char* prefix,
                 const char* section) {
    color.red = ReadByte(document, section, prefix, ".r");
    color.green = ReadByte(document, section, prefix, ".g");
    color.blue = ReadByte(document, section, prefix, ".b");
}

void IniGetFont(const IniDocument& document, FontValue& font, const char* prefix,
                const char* section) {
    const char* name = IniGetValue(document, section, GroupKey(prefix, ".name").c_str());
    font.faceName = name != nullptr ? WideFromAnsi(name) : std::wstring();
    font.bold = IniGetBool(document, section, GroupKey(prefix, ".bold").c_str());
    font.italic = IniGetBool(document, section, GroupKey(prefix, ".italic").c_str());
    font.size = IniGetInt(document, section, GroupKey(prefix, ".size").c_str());
}

void IniSetColor(IniDocument& document, const ColorTriple& color, const char* prefix,
                 const char* section) {
    IniSetInt(document, section, GroupKey(prefix, ".r").c_str(), color.red, TRUE);
    IniSetInt(document, section, GroupKey(prefix, ".g").c_str(), color.green, TRUE);
    IniSetInt(document, section, GroupKey(prefix, ".b").c_str(), color.blue, TRUE);
}

void IniSetFont(IniDocument& document, const FontValue& font, const char* prefix,
                const char* section) {
    IniSetValue(document, section, GroupKey(prefix, ".name").c_str(),
                AnsiFromWide(font.faceName, kTextBufferSize).c_str(), TRUE);
    IniSetBool(document, section, GroupKey(prefix, ".bold").c_str(), font.bold);
    IniSetBool(document, section, GroupKey(prefix, ".italic").c_str(), font.italic);
    IniSetInt(document, section, GroupKey(prefix, ".size").c_str(), font.size, TRUE);
}

std::int32_t IniGetInt(const IniDocument& document, const char* section, const char* key) {
    const char* text = IniGetValue(document, section, key);
    return text != nullptr ? ParseDecimal(text) : 0;
}

bool IniGetBool(const IniDocument& document, const char* section, const char* key) {
    const char* text = IniGetValue(document, section, key);
    return text != nullptr && std::strcmp(text, "true") == 0;
}

void IniSetBool(IniDocument& document, const char* section, const char* key, bool value) {
    IniSetValue(document, section, key, value ? "true" : "false", TRUE);
}
