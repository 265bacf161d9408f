// Helpers for INI tests: documents as plain lists for comparison and readable failures.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "config/ini_document.h"

struct FlatSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> pairs;
    bool operator==(const FlatSection&) const = default;
};

inline std::vector<FlatSection> Flatten(const IniDocument& document) {
    std::vector<FlatSection> flat;
    for (const auto& section : document.sections) {
        if (!section) continue;
        FlatSection copy{section->name, {}};
        for (std::size_t index = 0; index < section->keys.size(); ++index) {
            copy.pairs.emplace_back(section->keys[index], section->values[index]);
        }
        flat.push_back(copy);
    }
    return flat;
}

inline std::vector<FlatSection> Parse(const std::string& text) {
    IniDocument document;
    IniParse(document, text + "\r\n");
    return Flatten(document);
}

inline void PrintTo(const FlatSection& section, std::ostream* out) {
    *out << "[" << section.name << "]{";
    for (const auto& [key, value] : section.pairs) *out << key << "=" << value << ";";
    *out << "}";
}
