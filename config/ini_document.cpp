#include "config/ini_document.h"

#include <cstring>

#include "config/number_text.h"

namespace {

IniSection* FindSection(const IniDocument& document, const char* name) {
    for (const auto& section : document.sections) {
        if (section && section->name == name) return section.get();
    }
    return nullptr;
}

// The index of the first key of that name, or -1.
std::ptrdiff_t FindKey(const IniSection& section, std::string_view key) {
    for (std::size_t index = 0; index < section.keys.size(); ++index) {
        if (section.keys[index] == key) return static_cast<std::ptrdiff_t>(index);
    }
    return -1;
}

}  // namespace

const char* IniGetValue(const IniDocument& document, const char* section, const char* key) {
    if (section == nullptr || key == nullptr) return nullptr;
    const IniSection* found = FindSection(document, section);
    return found != nullptr ? IniSectionValue(*found, key) : nullptr;
}

const char* IniSectionValue(const IniSection& section, std::string_view key) {
    const std::ptrdiff_t index = FindKey(section, key);
    return index < 0 ? nullptr : section.values[static_cast<std::size_t>(index)].c_str();
}

bool IniSetValue(IniDocument& document, const char* section, const char* key, const char* value,
                 int create) {
    if (section == nullptr || key == nullptr || value == nullptr) return false;
    IniSection* found = FindSection(document, section);
    if (found != nullptr) {
        const std::ptrdiff_t index = FindKey(*found, key);
        if (index >= 0) {
            found->values[static_cast<std::size_t>(index)] = value;
            return true;
        }
    }
    if ((create & 0xFF) == 0) return false;
    if (found == nullptr) {
        auto added = std::make_unique<IniSection>();
        added->name = section;
        found = added.get();
        document.sections.push_back(std::move(added));
    }
    found->keys.emplace_back(key);
    found->values.emplace_back(value);
    return false;
}

bool IniSetInt(IniDocument& document, const char* section, const char* key, std::int32_t value,
               int create) {
    return IniSetValue(document, section, key, FormatDecimal(value).c_str(), create);
}

void IniFree(IniDocument& document) { document.sections.clear(); }

std::string IniFormat(const IniDocument& document) {
    std::string text;
    for (const auto& section : document.sections) {
        if (!section) continue;
        text += '[';
        text += section->name;
        text += "]\r\n";
        const std::size_t pairs = std::min(section->keys.size(), section->values.size());
        for (std::size_t index = 0; index < pairs; ++index) {
            text += section->keys[index];
            text += '=';
            text += section->values[index];
            text += "\r\n";
        }
    }
    return text;
}
