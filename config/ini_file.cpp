// Reading an INI file whole into a document, and replacing a file with a document.
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "config/ini_document.h"
#include "platform/files/file_api.h"
#include "platform/windows/window_api.h"

namespace {

void ShowError(const wchar_t* text) { MessageBox(nullptr, text, L"Error", MB_OK); }

// Reads the whole file; false when a read fails or delivers less than `size` bytes.
bool ReadWhole(HANDLE file, char* buffer, std::int64_t size) {
    std::int64_t total = 0;
    while (total < size) {
        const auto chunk = static_cast<DWORD>(std::min<std::int64_t>(size - total, 1 << 30));
        DWORD read = 0;
        if (!ReadFile(file, buffer + total, chunk, &read, nullptr) || read == 0) return false;
        total += read;
    }
    return true;
}

}  // namespace

bool IniRead(IniDocument& document, const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowError(L"!CreateFile");
        return false;
    }
    std::int64_t size = 0;
    if (!GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        ShowError(L"!ReadFile");
        return false;
    }
    if (size == 0) {
        CloseHandle(file);
        return false;
    }
    // Room for the line end and terminator appended below; a size that cannot be held is a
    // failed read, not a wrapped-around small buffer.
    std::unique_ptr<char[]> buffer;
    if (size > 0 &&
        static_cast<std::uint64_t>(size) < std::numeric_limits<std::size_t>::max() / 2) {
        buffer.reset(new (std::nothrow) char[static_cast<std::size_t>(size) + 3]);
    }
    if (!buffer || !ReadWhole(file, buffer.get(), size)) {
        CloseHandle(file);
        ShowError(L"!ReadFile");
        return false;
    }
    CloseHandle(file);
    // A zero byte ends the text: nothing after it is looked at.
    const auto length =
        static_cast<std::size_t>(std::find(buffer.get(), buffer.get() + size, '\0') - buffer.get());
    std::memcpy(buffer.get() + length, "\r\n", 3);
    IniParse(document, std::string_view(buffer.get(), length + 2));
    return true;
}

bool IniWrite(const IniDocument& document, const std::wstring& path) {
    if (!platform::ReplaceFileContent(path, IniFormat(document))) {
        ShowError(L"!CreateFile");
        return false;
    }
    return true;
}
