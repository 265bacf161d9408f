// The applications installed on this machine, read from their desktop entries and sorted into
// those a launcher shows and those it leaves out, each with the reason.
#pragma once

#include <string>
#include <vector>

#include "platform/shell/xdg_directories.h"

namespace entries {

struct Application {
    std::string id;     // the desktop-file ID, "org.example.App.desktop"
    std::string path;   // of its desktop file
    std::string title;  // Name in the user's language
    std::string genericName;
    std::string program;                 // an absolute path, found through PATH for a bare name
    std::vector<std::string> arguments;  // after the program, field codes applied
    bool terminal = false;               // runs in a terminal emulator
};

struct LeftOut {
    std::string id;
    std::string path;
    std::string reason;       // in words, for the user
    bool unreadable = false;  // a broken file rather than an application that is not shown
};

struct ApplicationScan {
    std::vector<Application> applications;  // in order of desktop-file ID
    std::vector<LeftOut> leftOut;
};

struct ScanSettings {
    platform::XdgDirectories directories;
    // $XDG_CURRENT_DESKTOP's names, for OnlyShowIn and NotShowIn.
    std::vector<std::string> currentDesktops;
    // The keys a translated value is looked up under, best first: "Name[de_CH]", then "Name[de]".
    std::vector<std::string> localeSuffixes;
    bool mobileOnly = false;  // only applications that declare the phone form factor

    static ScanSettings FromEnvironment();
};

// The locale's suffixes of translated keys, best first, from a locale name such as
// "sr_RS.UTF-8@latin" ("[sr_RS@latin]", "[sr_RS]", "[sr@latin]", "[sr]"); none for C and POSIX.
std::vector<std::string> LocaleSuffixes(const std::string& locale);

ApplicationScan ScanApplications(const ScanSettings& settings);

}  // namespace entries
