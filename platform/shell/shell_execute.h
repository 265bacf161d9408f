// Starting programs and documents as the shell does: an executable file is started directly
// (no shell involved) with its arguments split by the quoting rules below; any other existing
// file, a folder or a URL is handed to xdg-open. Started programs run detached in their own
// session and are never waited for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/win_types.h"
#include "platform/files/file_api.h"

struct SHELLEXECUTEINFO {
    DWORD cbSize = 0;
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    const wchar_t* lpVerb = nullptr;
    const wchar_t* lpFile = nullptr;
    const wchar_t* lpParameters = nullptr;
    const wchar_t* lpDirectory = nullptr;
    int nShow = 0;
    HINSTANCE hInstApp = nullptr;
    HANDLE hProcess = nullptr;  // never set: started programs are not tracked by handle
};

constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr DWORD SEE_MASK_FLAG_NO_UI = 0x00000400;

// TRUE when the program (or xdg-open for a document) was started. On failure the reason is
// written to standard error with the path (a missing file, no permission, no xdg-open, or the
// system's error) and kept for the caller (platform::LastStartError); unless the mask has
// SEE_MASK_FLAG_NO_UI, a message box owned by `hwnd` (or the active window) shows it too.
BOOL ShellExecuteEx(SHELLEXECUTEINFO* info);

namespace platform {

// The argument rules: spaces and tabs separate arguments; double quotes group text with its
// spaces into one argument (the quotes are removed, "" is an empty argument); a backslash makes
// a following double quote or backslash literal; every other backslash stays as it is; a quote
// left open runs to the end.
std::vector<std::string> SplitArguments(std::string_view arguments);

// The process id of the last program started, 0 when none; for tests.
int LastStartedProcess();

// Why the last ShellExecuteEx failed, in words for the user (UTF-8, without the path); empty
// when it succeeded.
const std::string& LastStartError();

}  // namespace platform
