// TavrelEntries: the launcher's rows from the applications installed on this machine.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "entries/entries_command.h"

int main(int argc, char** argv) {
    // Translated names and the order of titles follow the user's locale.
    std::setlocale(LC_ALL, "");
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return entries::RunEntriesCommand(arguments, std::cout, std::cerr);
}
