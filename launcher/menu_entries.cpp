#include "launcher/menu_entries.h"

#include <functional>
#include <string_view>
#include <vector>

#include "config/code_page.h"
#include "config/ini_document.h"
#include "launcher/tavrel.h"

namespace {

// The value of the first key of that name in the section, as wide text; empty when missing.
std::wstring Value(const IniSection& section, std::string_view key) {
    const char* value = IniSectionValue(section, key);
    return value != nullptr ? WideFromAnsi(value) : std::wstring();
}

// For each section, the index of the first section of the same name. An open-addressing table of
// section indexes, twice as large as there are sections, sized once: one flat array where a table
// of names would cost a node and a scattered lookup per entry.
std::vector<std::size_t> FirstOfEachName(const IniDocument& document) {
    const std::vector<std::unique_ptr<IniSection>>& sections = document.sections;
    std::vector<std::size_t> first(sections.size());
    std::size_t slotCount = 16;
    while (slotCount < 2 * sections.size()) slotCount *= 2;
    constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);
    std::vector<std::size_t> slots(slotCount, kEmpty);
    std::vector<std::size_t> hashes(sections.size());
    for (std::size_t index = 0; index < sections.size(); ++index) {
        if (!sections[index]) continue;
        const std::size_t hash = std::hash<std::string_view>()(sections[index]->name);
        hashes[index] = hash;
        for (std::size_t slot = hash & (slotCount - 1);; slot = (slot + 1) & (slotCount - 1)) {
            const std::size_t earlier = slots[slot];
            if (earlier == kEmpty) {
                slots[slot] = index;
                first[index] = index;
                break;
            }
            if (hashes[earlier] == hash && sections[earlier]->name == sections[index]->name) {
                first[index] = earlier;
                break;
            }
        }
    }
    return first;
}

}  // namespace

void LoadEntries(CTavrel& menu, const std::wstring& path) {
    IniDocument document;
    IniRead(document, path);  // a missing file has shown its message; the menu stays empty
    // Values are looked up by the section's name, so a repeated section takes the values of the
    // first one of that name.
    const std::vector<std::size_t> firstOfName = FirstOfEachName(document);
    // Each section is let go as soon as no later entry needs it, so that the entries reuse its
    // memory: a long file then costs about its entries, not its entries and its document.
    std::vector<std::size_t> lastUse(document.sections.size());
    for (std::size_t index = 0; index < document.sections.size(); ++index) {
        if (document.sections[index]) lastUse[firstOfName[index]] = index;
    }
    menu.items.reserve(menu.items.size() + document.sections.size());
    for (std::size_t index = 0; index < document.sections.size(); ++index) {
        if (!document.sections[index]) continue;
        const std::size_t source = firstOfName[index];
        const IniSection& values = *document.sections[source];
        menu.AddItem(WideFromAnsi(document.sections[index]->name), Value(values, "ExecPath"),
                     Value(values, "Args"));
        if (source != index) document.sections[index].reset();
        if (lastUse[source] == index) document.sections[source].reset();
    }
    IniFree(document);
}
