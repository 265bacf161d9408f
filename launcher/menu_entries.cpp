#include "launcher/menu_entries.h"

#include <string_view>
#include <unordered_map>

#include "config/code_page.h"
#include "config/ini_document.h"
#include "launcher/tavrel.h"

namespace {

// The value of the first key of that name in the section, as wide text; empty when missing.
std::wstring Value(const IniSection& section, std::string_view key) {
    const char* value = IniSectionValue(section, key);
    return value != nullptr ? WideFromAnsi(value) : std::wstring();
}

}  // namespace

void LoadEntries(CTavrel& menu, const std::wstring& path) {
    IniDocument document;
    IniRead(document, path);  // a missing file has shown its message; the menu stays empty
    // Values are looked up by the section's name, so a repeated section takes the values of the
    // first one of that name. One pass finds every first section, instead of a search from the
    // start for each entry.
    std::unordered_map<std::string_view, const IniSection*> firstOfName;
    for (const auto& section : document.sections) {
        if (section) firstOfName.emplace(section->name, section.get());
    }
    for (const auto& section : document.sections) {
        if (!section) continue;
        const IniSection& source = *firstOfName.at(section->name);
        menu.AddItem(WideFromAnsi(section->name), Value(source, "ExecPath"), Value(source, "Args"));
    }
    IniFree(document);
}
