// The launcher's entries file (settings.ini): one menu entry per section, titled by the section
// name, with the program to start (ExecPath) and its arguments (Args).
#pragma once

#include <string>

class CTavrel;

// Reads the file and adds its entries to the menu in file order.
void LoadEntries(CTavrel& menu, const std::wstring& path);
