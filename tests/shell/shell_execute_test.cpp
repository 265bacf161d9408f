// Starting programs: argument splitting, detached start (own session, no input, no zombie), and
// failures reported instead of silently ignored.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/backends/headless/headless_backend.h"
#include "platform/shell/shell_execute.h"
#include "platform/windows/cwnd.h"
#include "support/temp_folder.h"

namespace {

using platform::SplitArguments;
using Arguments = std::vector<std::string>;

TEST(SplitArgumentsTest, QuotesGroupAndBackslashesEscapeOnlyQuotesAndThemselves) {
    EXPECT_EQ(SplitArguments(""), Arguments{});
    EXPECT_EQ(SplitArguments("  one  two\tthree "), (Arguments{"one", "two", "three"}));
    EXPECT_EQ(SplitArguments("\"two words\" x"), (Arguments{"two words", "x"}));
    EXPECT_EQ(SplitArguments("a\"b c\"d"), (Arguments{"ab cd"}));
    EXPECT_EQ(SplitArguments("\"\" x"), (Arguments{"", "x"}));
    EXPECT_EQ(SplitArguments("say \\\"hi\\\""), (Arguments{"say", "\"hi\""}));
    EXPECT_EQ(SplitArguments("C:\\dir\\file \\\\"), (Arguments{"C:\\dir\\file", "\\"}));
    EXPECT_EQ(SplitArguments("\"open ended"), (Arguments{"open ended"}));
}

class ShellExecuteTest : public ::testing::Test {
  protected:
    // A script that records its arguments, session and standard input, then marks it is done.
    std::string WriteRecorder() {
        const std::string path = folder.Path("recorder.sh").string();
        std::ofstream(path) << "#!/bin/sh\n"
                               "out=\"$(dirname \"$0\")\"\n"
                               "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out/args\"\n"
                               "cut -d' ' -f6 /proc/$$/stat > \"$out/session\"\n"
                               "readlink /proc/$$/fd/0 > \"$out/stdin\"\n"
                               "touch \"$out/done\"\n";
        ::chmod(path.c_str(), 0755);
        return path;
    }

    bool WaitFor(const std::string& name) {
        for (int attempt = 0; attempt < 500; ++attempt) {
            if (std::filesystem::exists(folder.Path(name))) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    static bool IsZombieOrGone(int process) {
        std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
        std::string pid, name, state;
        if (!(stat >> pid >> name >> state)) return true;
        return state == "Z";
    }

    static BOOL Start(const std::wstring& file, const std::wstring& parameters,
                      DWORD mask = SEE_MASK_NOCLOSEPROCESS) {
        SHELLEXECUTEINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = mask;
        info.lpFile = file.c_str();
        info.lpParameters = parameters.c_str();
        info.nShow = 5;
        return ShellExecuteEx(&info);
    }

    TempFolder folder;
};

TEST_F(ShellExecuteTest, AProgramStartsDetachedWithItsArgumentsAndLeavesNoZombie) {
    const std::string recorder = WriteRecorder();
    ASSERT_TRUE(Start(std::filesystem::path(recorder).wstring(),
                      L"plain \"two words\" \\\"quoted\\\" \u0448"));
    ASSERT_TRUE(WaitFor("done"));
    EXPECT_EQ(folder.Read("args"), "plain\ntwo words\n\"quoted\"\n\xD1\x88\n");
    EXPECT_EQ(folder.Read("stdin"), "/dev/null\n");
    EXPECT_NE(std::stoi(folder.Read("session")), ::getsid(0));

    // The ended program is collected, not left as a zombie.
    const int child = platform::LastStartedProcess();
    ASSERT_GT(child, 0);
    bool collected = false;
    for (int attempt = 0; attempt < 500 && !collected; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        collected =
            IsZombieOrGone(child) && !std::filesystem::exists("/proc/" + std::to_string(child));
    }
    EXPECT_TRUE(collected);
}

TEST_F(ShellExecuteTest, FailuresAreReportedWithThePathAndTheReason) {
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(Start(L"", L""));
    EXPECT_FALSE(Start(folder.WidePath("missing-program"), L""));
    const std::string notExecutable = folder.Path("plain.txt").string();
    folder.Write("plain.txt", "text");
    // A script with a missing interpreter fails at exec time; the error still comes back.
    const std::string badScript = folder.Path("bad.sh").string();
    std::ofstream(badScript) << "#!/no/such/interpreter\n";
    ::chmod(badScript.c_str(), 0755);
    EXPECT_FALSE(Start(std::filesystem::path(badScript).wstring(), L""));
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("no program given"), std::string::npos) << errors;
    EXPECT_NE(errors.find("missing-program\": No such file or directory"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("bad.sh\""), std::string::npos) << errors;
    // The reason stays for the caller, without the path; a success clears it.
    EXPECT_FALSE(Start(folder.WidePath("missing-program"), L""));
    EXPECT_EQ(platform::LastStartError(), "No such file or directory");
    ASSERT_TRUE(Start(std::filesystem::path(WriteRecorder()).wstring(), L""));
    EXPECT_EQ(platform::LastStartError(), "");
    EXPECT_TRUE(WaitFor("done"));
}

TEST_F(ShellExecuteTest, AFailedStartIsShownInAMessageBoxOverTheActiveWindowUnlessAskedNotTo) {
    platform::HeadlessBackend& backend = platform::InstallHeadlessBackend();
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                                200, nullptr, nullptr));
    ASSERT_EQ(::GetActiveWindow(), window.m_hWnd);
    ::testing::internal::CaptureStderr();
    const std::wstring missing = folder.WidePath("missing-program");
    EXPECT_FALSE(Start(missing, L""));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("No such file or directory"),
              std::string::npos)
        << "standard error keeps its line";
    ASSERT_EQ(backend.messageBoxes.size(), 1u);
    EXPECT_EQ(backend.messageBoxes[0].text,
              L"Cannot start \u201C" + missing + L"\u201D:\nNo such file or directory");
    EXPECT_EQ(backend.messageBoxes[0].caption, L"Error");
    EXPECT_EQ(backend.messageBoxes[0].owner, window.m_hWnd);

    // An empty path is a failed start too; a caller that shows its own errors gets no box.
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(Start(L"", L""));
    EXPECT_FALSE(Start(missing, L"", SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI));
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(backend.messageBoxes.size(), 2u);
    EXPECT_EQ(backend.messageBoxes[1].text, L"Cannot start: no program given");
    window.DestroyWindow();
    platform::InstallBackend(nullptr);
}

// PATH set for the life of the object, then restored.
class ScopedPath {
  public:
    explicit ScopedPath(const std::string& value) : previous_(std::getenv("PATH")) {
        ::setenv("PATH", value.c_str(), 1);
    }
    ~ScopedPath() { ::setenv("PATH", previous_.c_str(), 1); }
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

  private:
    std::string previous_;
};

TEST_F(ShellExecuteTest, FoldersDocumentsAndAddressesOpenWithXdgOpenOrSayWhatToInstall) {
    std::filesystem::create_directory(folder.Path("bin"));
    folder.Write("notes.txt", "text");
    const std::vector<std::wstring> targets{folder.WidePath(""), folder.WidePath("notes.txt"),
                                            L"https://www.debian.org"};
    {
        // A bare system without the opener: each start fails and says what to install.
        const ScopedPath path(folder.Path("bin").string());
        for (const std::wstring& target : targets) {
            ::testing::internal::CaptureStderr();
            EXPECT_FALSE(Start(target, L""));
            const std::string errors = ::testing::internal::GetCapturedStderr();
            EXPECT_EQ(platform::LastStartError(),
                      "xdg-open is not installed (it comes with the package xdg-utils)");
            EXPECT_NE(errors.find(platform::LastStartError()), std::string::npos) << errors;
        }
    }
    // With an opener on the PATH, it gets the target as its one argument (and records it in
    // its own folder).
    std::filesystem::rename(WriteRecorder(), folder.Path("bin/xdg-open"));
    const ScopedPath path(folder.Path("bin").string() + ":/usr/bin:/bin");
    for (const std::wstring& target : targets) {
        std::filesystem::remove(folder.Path("bin/done"));
        ASSERT_TRUE(Start(target, L"--ignored"));
        ASSERT_TRUE(WaitFor("bin/done"));
        EXPECT_EQ(folder.Read("bin/args"), std::filesystem::path(target).string() + "\n");
    }
}

}  // namespace
