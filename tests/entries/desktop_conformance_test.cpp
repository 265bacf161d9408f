// Desktop entries as installed in the wild, each with the launcher row it must give or the
// reason it is left out; the row's Args must split back into exactly the words of its Exec.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "entries/application_rows.h"
#include "entries/desktop_applications.h"
#include "platform/shell/shell_execute.h"
#include "support/temp_folder.h"

namespace {

enum class Kind { Text, Fifo, Huge };

struct Case {
    const char* file;  // below "home/" (the user's applications) or "system/"
    std::string text;  // "BIN" stands for the folder of the test's programs
    // The row: its title and the words the launcher starts (program first); or a reason.
    const char* title = nullptr;
    std::vector<std::string> command = {};
    const char* reason = nullptr;
    Kind kind = Kind::Text;
};

std::string Entry(const std::string& keys) {
    return "[Desktop Entry]\nType=Application\n" + keys + "\n";
}

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"system/plain.desktop", Entry("Name=Plain\nExec=app"), "Plain", {"BIN/app"}},
        {"system/percent.desktop",
         Entry("Name=Percent\nExec=app 100%% %%f"),
         "Percent",
         {"BIN/app", "100%", "%f"}},
        {"system/spaces.desktop",
         Entry("Name=Spaces\nExec=\"BIN/my dir/my app\" --flag"),
         "Spaces",
         {"BIN/my dir/my app", "--flag"}},
        {"system/escaped-quote.desktop",
         Entry("Name=Quote\nExec=app \"say \\\\\"hi\\\\\"\""),
         "Quote",
         {"BIN/app", "say \"hi\""}},
        {"system/backslash.desktop",
         Entry("Name=Backslash\nExec=app \"a\\\\\\\\b\" c\\\\\\\\d"),
         "Backslash",
         {"BIN/app", "a\\b", "c\\d"}},
        {"system/two-backslashes.desktop",
         Entry("Name=Two\nExec=app 'x\\\\\\\\y' z\\\\"),
         "Two",
         {"BIN/app", "x\\\\y", "z"}},
        {"system/dollar.desktop",
         Entry("Name=Dollar\nExec=app \"\\\\$HOME\" \"\\\\`x\\\\`\""),
         "Dollar",
         {"BIN/app", "$HOME", "`x`"}},
        {"system/single.desktop",
         Entry("Name=Single\nExec=app 'a \"b\" \\\\c' \"\" x"),
         "Single",
         {"BIN/app", "a \"b\" \\c", "", "x"}},
        {"system/blanks.desktop",
         Entry("Name=Blanks\nExec=  app\t -a   -b  "),
         "Blanks",
         {"BIN/app", "-a", "-b"}},
        {"home/override.desktop",
         Entry("Name=Mine\nExec=app --mine"),
         "Mine",
         {"BIN/app", "--mine"}},
        {"system/override.desktop", Entry("Name=System\nExec=app"), nullptr, {}, nullptr},
        {"home/deleted.desktop", "[Desktop Entry]\nHidden=true\n", nullptr, {}, "hidden"},
        {"system/deleted.desktop", Entry("Name=Deleted\nExec=app"), nullptr, {}, nullptr},
        {"system/hidden.desktop",
         Entry("Name=Hidden\nExec=app\nHidden=true"),
         nullptr,
         {},
         "hidden"},
        {"system/tryexec.desktop", Entry("Name=Try\nTryExec=app\nExec=app"), "Try", {"BIN/app"}},
        {"system/tryexec-path.desktop",
         Entry("Name=Try path\nTryExec=BIN/app\nExec=app"),
         "Try path",
         {"BIN/app"}},
        {"system/tryexec-missing.desktop",
         Entry("Name=Try missing\nTryExec=nowhere\nExec=app"),
         nullptr,
         {},
         "TryExec"},
        {"system/only-here.desktop",
         Entry("Name=Only here\nOnlyShowIn=KDE;Phosh;\nExec=app"),
         "Only here",
         {"BIN/app"}},
        {"system/only-other.desktop",
         Entry("Name=Only other\nOnlyShowIn=KDE;\nExec=app"),
         nullptr,
         {},
         "OnlyShowIn"},
        {"system/not-here.desktop",
         Entry("Name=Not here\nNotShowIn=GNOME;\nExec=app"),
         nullptr,
         {},
         "NotShowIn"},
        {"system/not-other.desktop",
         Entry("Name=Not other\nNotShowIn=KDE\nExec=app"),
         "Not other",
         {"BIN/app"}},
        {"system/terminal.desktop",
         Entry("Name=Terminal app\nTerminal=true\nExec=app -x"),
         "Terminal app",
         {"BIN/term", "-e", "BIN/app", "-x"}},
        {"system/terminal-no-exec.desktop",
         Entry("Name=No exec\nTerminal=true"),
         nullptr,
         {},
         "no Exec"},
        {"system/nodisplay.desktop",
         Entry("Name=No display\nNoDisplay=true\nExec=app"),
         nullptr,
         {},
         "NoDisplay"},
        {"system/kde/sub.desktop", Entry("Name=Subfolder\nExec=app"), "Subfolder", {"BIN/app"}},
        {"system/env.desktop",
         Entry("Name=Env\nExec=env GDK_BACKEND=x11 app --y"),
         "Env",
         {"BIN/env", "GDK_BACKEND=x11", "app", "--y"}},
        {"system/steam.desktop",
         Entry("Name=Game\nExec=app steam://rungameid/570"),
         "Game",
         {"BIN/app", "steam://rungameid/570"}},
        {"system/icon-none.desktop",
         Entry("Name=No icon\nExec=app %i --z"),
         "No icon",
         {"BIN/app", "--z"}},
        {"system/icon.desktop",
         Entry("Name=Icon\nIcon=my icon\nExec=app %i"),
         "Icon",
         {"BIN/app", "--icon", "my icon"}},
        {"system/caption.desktop",
         Entry("Name=Two words\nExec=app --title=%c"),
         "Two words",
         {"BIN/app", "--title=Two words"}},
        {"system/file.desktop",
         Entry("Name=Own file\nExec=app %k"),
         "Own file",
         {"BIN/app", "SYSTEM/file.desktop"}},
        {"system/files.desktop",
         Entry("Name=Files\nExec=app %U --open=%f %F %u"),
         "Files",
         {"BIN/app", "--open="}},
        {"system/deprecated.desktop",
         Entry("Name=Old codes\nExec=app %d %D %n %N %v %m -q"),
         "Old codes",
         {"BIN/app", "-q"}},
        {"system/german.desktop",
         Entry("Name=English\nName[de]=Deutsch\nName[de_DE]=Bundesdeutsch\nExec=app"),
         "Bundesdeutsch",
         {"BIN/app"}},
        {"system/german-plain.desktop",
         Entry("Name=Plain English\nName[de]=Deutsch\nExec=app"),
         "Deutsch",
         {"BIN/app"}},
        {"system/german-modifier.desktop",
         Entry("Name=Euro\nName[de@euro]=Euro (de)\nName[de_DE@euro]=Euro (de_DE)\n"
               "Name[de_DE]=Mark\nExec=app"),
         "Euro (de_DE)",
         {"BIN/app"}},
        {"system/untranslated.desktop",
         Entry("Name=Untranslated\nName[fr]=Non\nExec=app"),
         "Untranslated",
         {"BIN/app"}},
        {"system/dbus.desktop", Entry("Name=D-Bus\nDBusActivatable=true"), nullptr, {}, "D-Bus"},
        {"system/latin1.desktop", Entry("Name=Caf\xe9\nExec=app"), nullptr, {}, "UTF-8"},
        {"system/binary.desktop",
         std::string("[Desktop Entry]\n\0\x01\x02", 19),
         nullptr,
         {},
         "binary"},
        {"system/huge.desktop", "", nullptr, {}, "larger", Kind::Huge},
        {"system/fifo.desktop", "", nullptr, {}, "not a regular file", Kind::Fifo},
        {"system/broken.desktop", "Name=No group\nExec=app\n", nullptr, {}, "no [Desktop Entry]"},
        {"home/broken-override.desktop", "garbage \xff\n", nullptr, {}, "UTF-8"},
        {"system/broken-override.desktop",
         Entry("Name=Survivor\nExec=app"),
         "Survivor",
         {"BIN/app"}},
        {"system/link.desktop",
         "[Desktop Entry]\nType=Link\nName=Web\nURL=https://x\n",
         nullptr,
         {},
         "Type=Link"},
        {"system/no-name.desktop", Entry("Exec=app"), nullptr, {}, "no Name"},
        {"system/open-quote.desktop",
         Entry("Name=Open\nExec=app \"unfinished"),
         nullptr,
         {},
         "quote"},
        {"system/missing-program.desktop",
         Entry("Name=Missing\nExec=not-installed --x"),
         nullptr,
         {},
         "not-installed"},
        {"system/bracket.desktop", Entry("Name=Beta [test]\nExec=app"), "Beta (test)", {"BIN/app"}},
        {"system/twin-a.desktop",
         Entry("Name=Twin\nGenericName=Editor\nExec=app a"),
         "Twin (Editor)",
         {"BIN/app", "a"}},
        {"system/twin-b.desktop",
         Entry("Name=Twin\nGenericName=Viewer\nExec=app b"),
         "Twin (Viewer)",
         {"BIN/app", "b"}},
        {"system/triplet-a.desktop",
         Entry("Name=Triplet\nExec=app"),
         "Triplet (triplet-a)",
         {"BIN/app"}},
        {"system/triplet-b.desktop",
         Entry("Name=Triplet\nGenericName=Same\nExec=app"),
         "Triplet (triplet-b)",
         {"BIN/app"}},
        {"system/triplet-c.desktop",
         Entry("Name=Triplet\nGenericName=Same\nExec=app"),
         "Triplet (triplet-c)",
         {"BIN/app"}},
        {"system/phone.desktop",
         Entry("Name=Phone app\nX-Purism-FormFactor=Workstation;Mobile;\nExec=app"),
         "Phone app",
         {"BIN/app"}},
        {"system/kde-phone.desktop",
         Entry("Name=KDE phone app\nX-KDE-FormFactor=desktop;Handset\nExec=app"),
         "KDE phone app",
         {"BIN/app"}},
        {"system/comments.desktop",
         "# a comment\n[Desktop Entry]\n# another\nType = Application\nName = Spaced \n"
         "Exec = app  -s\n[Desktop Action new]\nExec=app --new\n",
         "Spaced",
         {"BIN/app", "-s"}},
    };
    return cases;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

void MakeProgram(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "#!/bin/sh\n";
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

// Where a case's file goes: "home/x" in the user's applications folder, "system/x" in the
// system's; and its desktop-file ID.
std::string DataPath(const std::string& file) {
    const std::size_t slash = file.find('/');
    return file.substr(0, slash) + "-data/applications" + file.substr(slash);
}
std::string IdOf(const std::string& file) {
    std::string id = file.substr(file.find('/') + 1);
    std::replace(id.begin(), id.end(), '/', '-');
    return id;
}

TEST(DesktopConformance, EveryEntryGivesItsRowOrItsReason) {
    TempFolder folder;
    const std::string bin = folder.Path("bin").string();
    const std::string system = folder.Path("system-data/applications").string();
    for (const char* program : {"app", "term", "env", "my dir/my app"}) {
        MakeProgram(folder.Path("bin") / program);
    }
    // What each ID must give: the row of the case that expects one (a user's entry, or the
    // system's that a broken user's entry leaves in place), else the first case's reason.
    std::map<std::string, const Case*> expected;
    for (const Case& entry : Cases()) {
        const std::filesystem::path path = folder.Path(DataPath(entry.file));
        std::filesystem::create_directories(path.parent_path());
        if (entry.kind == Kind::Fifo) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        } else if (entry.kind == Kind::Huge) {
            std::ofstream(path) << Entry("Name=Huge\nExec=app") << std::string(10 << 20, '#');
        } else {
            std::ofstream(path, std::ios::binary) << Replace(entry.text, "BIN", bin);
        }
        const Case*& slot = expected[IdOf(entry.file)];
        if (slot == nullptr || (slot->title == nullptr && entry.title != nullptr)) slot = &entry;
    }

    entries::ScanSettings settings;
    settings.directories.dataHome = folder.Path("home-data").string();
    settings.directories.dataDirs = {folder.Path("system-data").string()};
    settings.directories.executablePath = {bin};
    settings.currentDesktops = {"Phosh", "GNOME"};
    settings.localeSuffixes = entries::LocaleSuffixes("de_DE.UTF-8@euro");

    entries::ApplicationScan scan = entries::ScanApplications(settings);
    std::vector<entries::Row> rows =
        entries::MakeRows(scan.applications, bin + "/term", scan.leftOut);
    entries::MakeTitlesDistinct(rows, {});

    std::map<std::string, const entries::Row*> rowById;
    for (const entries::Row& row : rows) rowById[row.id] = &row;
    std::map<std::string, std::string> reasonById;
    for (const entries::LeftOut& left : scan.leftOut) reasonById[left.id] = left.reason;

    std::size_t rowsExpected = 0;
    for (const auto& [id, entry] : expected) {
        SCOPED_TRACE(entry->file);
        if (entry->title == nullptr) {
            EXPECT_FALSE(rowById.contains(id));
            EXPECT_NE(reasonById[id].find(entry->reason), std::string::npos) << reasonById[id];
            continue;
        }
        ++rowsExpected;
        ASSERT_TRUE(rowById.contains(id)) << "left out: " << reasonById[id];
        const entries::Row& row = *rowById[id];
        EXPECT_EQ(row.title, entry->title);
        std::vector<std::string> command{row.execPath};
        for (std::string& word : platform::SplitArguments(row.args)) {
            command.push_back(std::move(word));
        }
        std::vector<std::string> words;
        for (const std::string& word : entry->command) {
            words.push_back(Replace(Replace(word, "BIN", bin), "SYSTEM", system));
        }
        EXPECT_EQ(command, words) << "Args=" << row.args;
    }
    EXPECT_EQ(rows.size(), rowsExpected);
    EXPECT_GE(Cases().size(), 40U);

    // For a phone: only the applications that say they are made for one.
    settings.mobileOnly = true;
    std::vector<std::string> mobileIds;
    for (const entries::Application& application :
         entries::ScanApplications(settings).applications) {
        mobileIds.push_back(application.id);
    }
    EXPECT_EQ(mobileIds, (std::vector<std::string>{"kde-phone.desktop", "phone.desktop"}));
}

TEST(DesktopConformance, LocaleSuffixesFollowTheDesktopEntryOrder) {
    using Suffixes = std::vector<std::string>;
    EXPECT_EQ(entries::LocaleSuffixes("sr_RS.UTF-8@latin"),
              (Suffixes{"[sr_RS@latin]", "[sr_RS]", "[sr@latin]", "[sr]"}));
    EXPECT_EQ(entries::LocaleSuffixes("pt_BR"), (Suffixes{"[pt_BR]", "[pt]"}));
    EXPECT_EQ(entries::LocaleSuffixes("ru.KOI8-R"), (Suffixes{"[ru]"}));
    EXPECT_EQ(entries::LocaleSuffixes("C.UTF-8"), Suffixes{});
    EXPECT_EQ(entries::LocaleSuffixes("POSIX"), Suffixes{});
    EXPECT_EQ(entries::LocaleSuffixes(""), Suffixes{});
}

}  // namespace
