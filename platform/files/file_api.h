// Files as the programs use them: opening, sizing, reading and writing by handle, the program's
// own path, and replacing a file's whole content safely (all or nothing).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/base/win_types.h"

using HANDLE = void*;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(-1);  // NOLINT

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;

// Opens (OPEN_EXISTING) or creates (CREATE_ALWAYS) a file; INVALID_HANDLE_VALUE on failure, and
// for anything but a regular file. It never waits (a named pipe without a writer, a device).
HANDLE CreateFileW(const wchar_t* path, DWORD access, DWORD shareMode, void* security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
// The size in bytes; FALSE when it cannot be found.
BOOL GetFileSizeEx(HANDLE file, std::int64_t* size);
// Reads up to `count` bytes; `read` tells how many arrived (fewer at the end of the file).
BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* written, void* overlapped);
BOOL CloseHandle(HANDLE handle);
// The full path of the running program's file; returns its length, 0 on failure. The result is
// cut at a character boundary to fit `capacity` (terminator included).
DWORD GetModuleFileNameW(HINSTANCE module, wchar_t* buffer, DWORD capacity);

namespace platform {

// The running program's path, whole.
std::wstring ModuleFilePath();
// For tests: the program's path as reported from now on (empty: the real one again), so that a
// program's files next to it can live in a test's folder.
void OverrideModuleFilePath(const std::wstring& path);

// Replaces the file's content by `content`: written to a new file in the same folder, flushed to
// the disk and renamed over the target (a symbolic link is followed to its file, whose owner,
// group and permissions the new content keeps). Refused for an existing target that is no
// regular file (kErrorNotRegularFile, EISDIR) or that may not be written (EACCES, also for root
// when no write permission is set at all). Copies left by interrupted saves of the same file are
// removed. On any failure the old file stays as it was, no new file is left, the result is false
// and GetLastError tells why. (file_replacement.cpp)
bool ReplaceFileContent(const std::wstring& path, std::string_view content);

// For tests: every step of the file layer (open, size, read, write, sync, close, rename) asks
// this function first and fails as the system would when it returns true.
enum class FileStep { Open, Size, Read, Write, Sync, Close, Rename };
void SetFileFailureInjector(std::function<bool(FileStep)> injector);

}  // namespace platform
