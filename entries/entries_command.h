// The command TavrelEntries: its options, the scan, and writing settings.ini.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace entries {

// Runs the command with its arguments (without the program name), reporting to `out` and
// `errors`. 0 on success (also when nothing had to change), 1 when settings.ini could not be
// written, and 2 for a wrong command line.
int RunEntriesCommand(const std::vector<std::string>& arguments, std::ostream& out,
                      std::ostream& errors);

}  // namespace entries
