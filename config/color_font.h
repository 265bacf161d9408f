// Colour and font values as the options store them (a colour as three bytes, a font as face,
// bold, italic and size), and how they are spread over groups of INI keys sharing a prefix:
// prefix.r/.g/.b for a colour, prefix.name/.bold/.italic/.size for a font.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/win_types.h"

struct IniDocument;

struct ColorTriple {
    BYTE red = 0;
    BYTE green = 0;
    BYTE blue = 0;

    COLORREF ToColorRef() const { return RGB(red, green, blue); }
    bool operator==(const ColorTriple&) const = default;
};

struct FontValue {
    std::wstring faceName;  // empty: the platform's default face
    bool bold = false;
    bool italic = false;
    std::int32_t size = 0;  // font height in pixels, handed unchanged to font creation; 0: default
    bool operator==(const FontValue&) const = default;
};

// Readers: missing keys give 0, an empty name and false; numbers keep their low 8 bits.
void IniGetColor(const IniDocument& document, ColorTriple& color, const char* prefix,
                 const char* section);
void IniGetFont(const IniDocument& document, FontValue& font, const char* prefix,
                const char* section);
// Writers, adding or replacing the keys in the order the readers list them.
void IniSetColor(IniDocument& document, const ColorTriple& color, const char* prefix,
                 const char* section);
void IniSetFont(IniDocument& document, const FontValue& font, const char* prefix,
                const char* section);
// A number as the options store it (see ParseDecimal); a missing key gives 0.
std::int32_t IniGetInt(const IniDocument& document, const char* section, const char* key);
// A boolean as the options store it: true only for the exact text "true".
bool IniGetBool(const IniDocument& document, const char* section, const char* key);
void IniSetBool(IniDocument& document, const char* section, const char* key, bool value);
