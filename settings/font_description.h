// The font record the font item and its picker draw with: a face name, a height, bold and italic,
// in the Swiss family with character set 0; and the reading of a typed size.
#pragma once

#include <string>

#include "platform/graphics/gdi.h"

namespace settings {

// The face name is cut to what the record holds (31 characters and the terminator).
LOGFONT FontDescription(const std::wstring& faceName, int height, bool bold, bool italic);

// The number a size box holds, as a wide decimal integer: leading blanks and a sign allowed,
// reading stops at the first other character, no number gives 0, and values beyond the 32-bit
// range stop at its ends.
int ParseFontSize(const std::wstring& text);

}  // namespace settings
