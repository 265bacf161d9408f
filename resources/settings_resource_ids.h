// Resource identifiers of the settings editor program.
#pragma once

constexpr unsigned IDD_TAVRELSETTINGS_DIALOG = 102;
