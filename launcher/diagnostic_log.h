// The launcher's hook for diagnostic tracing. It writes nothing: no log file is created, opened
// or changed.
#pragma once

#include <string>

void WriteLog(const std::wstring& path, std::wstring text);
