// A plain transcription of the INI reader's rules with substring searches that start over at
// every step. Slow on purpose: the real reader must give exactly the same documents.
#pragma once

#include <string>

#include "config/ini_document.h"

// `text` must end in "\r\n" and hold no zero byte.
void ReferenceIniParse(IniDocument& document, const std::string& text);
