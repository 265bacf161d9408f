// Resource identifiers of the launcher program.
#pragma once

constexpr unsigned IDD_TAVRELPRJ_DIALOG = 102;
constexpr unsigned IDR_MAINFRAME = 129;
