// Finding a program as a shell does: a name with a slash is taken as it is, a bare name is
// looked up in the folders of PATH.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The path of the executable regular file `name` stands for; empty when there is none. A name
// with a slash must itself be absolute.
std::string FindExecutable(const std::string& name, const std::vector<std::string>& searchPath);

}  // namespace platform
