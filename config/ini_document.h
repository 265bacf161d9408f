// The INI library: a file held in memory as ordered sections of ordered key/value pairs (8-bit
// text), read from and written to files, with lookup and update of single values.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/win_types.h"

struct IniSection {
    // Parallel: values[i] belongs to keys[i]. Deques, so that a value returned by IniGetValue
    // stays where it is while keys are added.
    std::deque<std::string> keys;
    std::deque<std::string> values;
    std::string name;
};

// Sections in file order; an element may be null and is then skipped.
struct IniDocument {
    std::vector<std::unique_ptr<IniSection>> sections;
};

// Appends the sections of the file to the document. False (after a message box "!CreateFile" or
// "!ReadFile", or silently for an empty file) when nothing was read.
bool IniRead(IniDocument& document, const std::wstring& path);
// Replaces the file with the document's content; false (after the box "!CreateFile") when the
// file could not be written whole, in which case the old file is kept.
bool IniWrite(const IniDocument& document, const std::wstring& path);
// The value of the first key of that name in the first section of that name, or null. The text
// belongs to the document.
const char* IniGetValue(const IniDocument& document, const char* section, const char* key);
// Replaces the value of an existing key (true); otherwise, when the lowest byte of `create` is
// set, appends the key (and, if needed, the section) and returns false.
bool IniSetValue(IniDocument& document, const char* section, const char* key, const char* value,
                 int create);
bool IniSetInt(IniDocument& document, const char* section, const char* key, std::int32_t value,
               int create);
void IniFree(IniDocument& document);
// The value of the first key of that name in one section, or null.
const char* IniSectionValue(const IniSection& section, std::string_view key);

// Parses INI text that ends in "\r\n" and holds no zero byte, appending its sections.
void IniParse(IniDocument& document, std::string_view text);
// The bytes IniWrite puts into the file.
std::string IniFormat(const IniDocument& document);
