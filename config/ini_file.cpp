// Reading an INI file whole into a document, and replacing a file with a document.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "config/ini_document.h"
#include "platform/files/file_api.h"
#include "platform/windows/window_api.h"

namespace {

// The text of an INI file is read up to its first zero byte or this many bytes, whichever comes
// first. Both files are a few kilobytes; a hundred thousand entries make some megabytes. Longer
// text is not held: the file counts as unreadable.
constexpr std::size_t kMaxTextLength = std::size_t{64} << 20;
// Reads start small and double, so a file whose text ends early costs only what was read.
constexpr std::size_t kFirstReadStep = std::size_t{64} << 10;

void ShowError(const wchar_t* text) { MessageBox(nullptr, text, L"Error", MB_OK); }

// The text of a file: a buffer of room for the text and the line end added after it.
struct Text {
    std::unique_ptr<char[]> bytes;
    std::size_t length = 0;
};

// Reads the file's `size` bytes, stopping at the first zero byte, which ends the text (nothing
// after it is read or kept). False when a read fails, when the file ends before `size` bytes, or
// when the text runs past the limit. The buffer is not cleared first: of a large allocation only
// the pages that are read into are ever touched.
bool ReadText(HANDLE file, std::int64_t size, Text& text) {
    const auto total = static_cast<std::uint64_t>(size);
    const auto capacity = static_cast<std::size_t>(std::min<std::uint64_t>(total, kMaxTextLength));
    text.bytes.reset(new (std::nothrow) char[capacity + 2]);
    if (!text.bytes) return false;
    std::size_t step = kFirstReadStep;
    while (text.length < total) {
        if (text.length >= capacity) return false;  // the limit, before the file's end
        const std::size_t chunk = std::min(step, capacity - text.length);
        char* const at = text.bytes.get() + text.length;
        DWORD read = 0;
        if (!ReadFile(file, at, static_cast<DWORD>(chunk), &read, nullptr)) return false;
        if (const void* zero = std::memchr(at, '\0', read)) {
            text.length += static_cast<std::size_t>(static_cast<const char*>(zero) - at);
            return true;
        }
        text.length += read;
        if (read < chunk) return false;  // the file ended before its size
        step = std::min<std::size_t>(step * 2, std::size_t{1} << 24);
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
    if (!GetFileSizeEx(file, &size) || size < 0) {
        CloseHandle(file);
        ShowError(L"!ReadFile");
        return false;
    }
    if (size == 0) {
        CloseHandle(file);
        return false;
    }
    Text text;
    const bool read = ReadText(file, size, text);
    CloseHandle(file);
    if (!read) {
        ShowError(L"!ReadFile");
        return false;
    }
    // The parser relies on a line end after the last line.
    std::memcpy(text.bytes.get() + text.length, "\r\n", 2);
    IniParse(document, std::string_view(text.bytes.get(), text.length + 2));
    return true;
}

bool IniWrite(const IniDocument& document, const std::wstring& path) {
    if (!platform::ReplaceFileContent(path, IniFormat(document))) {
        ShowError(L"!CreateFile");
        return false;
    }
    return true;
}
