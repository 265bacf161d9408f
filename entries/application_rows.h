// The launcher's rows for the listed applications: a title each, the program and its argument
// string in the launcher's own quoting, and the settings.ini text that holds them.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "entries/desktop_applications.h"

namespace entries {

struct Row {
    std::string title;     // a section name: no line break, no ']'
    std::string execPath;  // ExecPath
    std::string args;      // Args, split by the launcher into exactly the application's words
    std::string id;        // the desktop-file ID it came from
    std::string genericName;
    bool terminal = false;  // started through a terminal emulator
};

// The argument string that the launcher splits back into `words` exactly: a word with a blank,
// a quote or a backslash, and an empty word, goes in double quotes with \" and \\ inside.
std::string LauncherArguments(const std::vector<std::string>& words);

// One row per application; one that cannot be a row goes to `leftOut` with the reason (a
// terminal application when `terminalProgram` is empty, a command with a line break that no
// INI value can hold).
std::vector<Row> MakeRows(const std::vector<Application>& applications,
                          const std::string& terminalProgram, std::vector<LeftOut>& leftOut);

// Rows whose title another row or one of `takenTitles` has get the generic name in brackets,
// and where that is not enough the desktop-file ID: a title used twice would start the first
// row's program.
void MakeTitlesDistinct(std::vector<Row>& rows, const std::vector<std::string>& takenTitles);

// By title in the user's collation (LC_COLLATE), then by ID.
void SortByTitle(std::vector<Row>& rows);

// The rows as settings.ini text: CR LF line ends, no Args key for no arguments.
std::string FormatRows(const std::vector<Row>& rows);

// The rows of an existing settings.ini that tell whether an application is in it already.
struct ExistingRows {
    std::vector<std::string> titles;  // of every section, in file order
    std::unordered_set<std::string> titleSet;
    std::unordered_set<std::string> commands;  // ExecPath and Args, a zero byte between

    // The same title, or the same program with the same arguments under another title.
    bool Holds(const Row& row) const;
};
ExistingRows ReadExistingRows(std::string_view text);

}  // namespace entries
