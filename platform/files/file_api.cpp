#include "platform/files/file_api.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/base/last_error.h"
#include "platform/base/text_encoding.h"
#include "platform/files/file_steps.h"
#include "platform/files/regular_file.h"

namespace platform {
namespace {

struct FileObject {
    int descriptor = -1;
};

std::unordered_map<HANDLE, std::unique_ptr<FileObject>>& OpenFiles() {
    static std::unordered_map<HANDLE, std::unique_ptr<FileObject>> files;
    return files;
}

FileObject* FindFile(HANDLE handle) {
    auto found = OpenFiles().find(handle);
    return found == OpenFiles().end() ? nullptr : found->second.get();
}

}  // namespace

std::wstring& ModulePathOverride() {
    static std::wstring path;
    return path;
}

void OverrideModuleFilePath(const std::wstring& path) { ModulePathOverride() = path; }

std::wstring ModuleFilePath() {
    if (!ModulePathOverride().empty()) return ModulePathOverride();
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0) return {};
    path.resize(static_cast<std::size_t>(length));
    return WideFromUtf8(path);
}

}  // namespace platform

using platform::FileStep;
using platform::InjectedFailure;

HANDLE CreateFileW(const wchar_t* path, DWORD access, DWORD /*shareMode*/, void* /*security*/,
                   DWORD disposition, DWORD /*flags*/, HANDLE /*templateFile*/) {
    if (path == nullptr || InjectedFailure(FileStep::Open)) return INVALID_HANDLE_VALUE;
    const std::string name = platform::Utf8FromWide(path);
    platform::FileDescriptor opened;
    if ((access & GENERIC_WRITE) == 0) {
        opened = platform::OpenRegularFile(name);
    } else {
        // Anything but a regular file is refused before it is opened (opening a device can have
        // effects), and again once open, in case it was replaced in between. Never waits for the
        // reader of a named pipe.
        struct stat before {};
        if (::stat(name.c_str(), &before) == 0 ? !S_ISREG(before.st_mode) : errno != ENOENT) {
            return INVALID_HANDLE_VALUE;
        }
        int openFlags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
        openFlags |= (access & GENERIC_READ) != 0 ? O_RDWR : O_WRONLY;
        if (disposition == CREATE_ALWAYS) openFlags |= O_CREAT | O_TRUNC;
        opened = platform::FileDescriptor(::open(name.c_str(), openFlags, 0666));
        struct stat status {};
        if (opened.Valid() && (::fstat(opened.Get(), &status) != 0 || !S_ISREG(status.st_mode))) {
            opened = platform::FileDescriptor();
        }
        if (opened.Valid()) {
            const int flags = ::fcntl(opened.Get(), F_GETFL);
            if (flags != -1) ::fcntl(opened.Get(), F_SETFL, flags & ~O_NONBLOCK);
        }
    }
    if (!opened.Valid()) return INVALID_HANDLE_VALUE;
    auto file = std::make_unique<platform::FileObject>();
    file->descriptor = opened.Release();
    HANDLE handle = file.get();
    platform::OpenFiles().emplace(handle, std::move(file));
    return handle;
}

BOOL GetFileSizeEx(HANDLE file, std::int64_t* size) {
    platform::FileObject* object = platform::FindFile(file);
    if (object == nullptr || size == nullptr || InjectedFailure(FileStep::Size)) return FALSE;
    struct stat status {};
    if (::fstat(object->descriptor, &status) != 0) return FALSE;
    *size = static_cast<std::int64_t>(status.st_size);
    return TRUE;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void* /*overlapped*/) {
    platform::FileObject* object = platform::FindFile(file);
    if (read != nullptr) *read = 0;
    if (object == nullptr || (buffer == nullptr && count > 0)) return FALSE;
    DWORD total = 0;
    while (total < count) {
        if (InjectedFailure(FileStep::Read)) return FALSE;
        const ssize_t got = ::read(object->descriptor, static_cast<char*>(buffer) + total,
                                   std::min<std::size_t>(count - total, 1U << 30));
        if (got < 0) {
            if (errno == EINTR) continue;
            return FALSE;
        }
        if (got == 0) break;
        total += static_cast<DWORD>(got);
    }
    if (read != nullptr) *read = total;
    return TRUE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* written, void* /*overlapped*/) {
    platform::FileObject* object = platform::FindFile(file);
    if (written != nullptr) *written = 0;
    if (object == nullptr || (buffer == nullptr && count > 0)) return FALSE;
    if (!platform::WriteAll(object->descriptor,
                            std::string_view(static_cast<const char*>(buffer), count))) {
        return FALSE;
    }
    if (written != nullptr) *written = count;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    auto found = platform::OpenFiles().find(handle);
    if (found == platform::OpenFiles().end()) return FALSE;
    const int result = ::close(found->second->descriptor);
    platform::OpenFiles().erase(found);
    return result == 0 ? TRUE : FALSE;
}

DWORD GetModuleFileNameW(HINSTANCE /*module*/, wchar_t* buffer, DWORD capacity) {
    if (buffer == nullptr || capacity == 0) return 0;
    const std::wstring path = platform::ModuleFilePath();
    if (path.empty()) return 0;
    const std::size_t length = std::min<std::size_t>(path.size(), capacity - 1);
    std::wmemcpy(buffer, path.data(), length);
    buffer[length] = L'\0';
    return static_cast<DWORD>(length);
}
