// libFuzzer target: the INI reader must give exactly the document that a plain transcription of
// its rules gives, for any bytes (a zero byte ends the text, as when a file is read).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/ini_document.h"
#include "tests/config/reference_ini_parser.h"

namespace {

bool SameDocuments(const IniDocument& first, const IniDocument& second) {
    if (first.sections.size() != second.sections.size()) return false;
    for (std::size_t index = 0; index < first.sections.size(); ++index) {
        const IniSection& a = *first.sections[index];
        const IniSection& b = *second.sections[index];
        if (a.name != b.name || a.keys != b.keys || a.values != b.values) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    text += "\r\n";
    IniDocument fast;
    IniParse(fast, text);
    IniDocument reference;
    ReferenceIniParse(reference, text);
    if (!SameDocuments(fast, reference)) std::abort();
    return 0;
}
