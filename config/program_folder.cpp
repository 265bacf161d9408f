#include "config/program_folder.h"

#include "platform/files/file_api.h"

std::wstring ProgramFolder() {
    std::wstring path = platform::ModuleFilePath();
    const std::size_t separator = path.rfind(L'/');
    if (separator == std::wstring::npos) return L"./";
    path.resize(separator + 1);
    return path;
}
