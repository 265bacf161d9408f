// The running program's file name.
#include "platform/backends/shared/program_name.h"

#include "platform/base/text_encoding.h"
#include "platform/files/file_api.h"

namespace platform {

std::string ProgramName() {
    const std::wstring path = ModuleFilePath();
    const std::size_t slash = path.find_last_of(L'/');
    const std::string name =
        Utf8FromWide(slash == std::wstring::npos ? path : path.substr(slash + 1));
    return name.empty() ? std::string("tavrel") : name;
}

}  // namespace platform
