#include "launcher/menu_entries.h"

#include "config/code_page.h"
#include "config/ini_document.h"
#include "launcher/tavrel.h"

namespace {

std::wstring ValueOrEmpty(const char* value) {
    return value != nullptr ? WideFromAnsi(value) : std::wstring();
}

}  // namespace

void LoadEntries(CTavrel& menu, const std::wstring& path) {
    IniDocument document;
    IniRead(document, path);  // a missing file has shown its message; the menu stays empty
    for (const auto& section : document.sections) {
        if (!section) continue;
        const std::wstring title = WideFromAnsi(section->name);
        // Looked up by name, so a repeated section takes the values of the first one.
        const std::wstring path =
            ValueOrEmpty(IniGetValue(document, section->name.c_str(), "ExecPath"));
        const std::wstring arguments =
            ValueOrEmpty(IniGetValue(document, section->name.c_str(), "Args"));
        menu.AddItem(title, path, arguments);
    }
    IniFree(document);
}
