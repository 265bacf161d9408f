// The folder of the running program's file, where both programs keep their INI files.
#pragma once

#include <string>

// Ends in the path separator, so a file name can be appended directly.
std::wstring ProgramFolder();
