#include "output/launcher.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/system.h"
#include "support/arg_recorder.h"
#include "support/history_gen.h"
#include "support/os.h"
#include "text/app_error.h"

namespace kazuban::output {
namespace {

using testing::ArgumentRecorder;
using testing::TempDir;
using Args = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string kIe = "\\Program Files\\Internet Explorer\\IEXPLORE.EXE";

int errorCodeOf(const std::string& commandLine, std::string* text = nullptr) {
    try {
        startCommandLine(commandLine);
    } catch (const AppError& e) {
        if (text) *text = e.text();
        return e.code();
    }
    return 0;
}

TEST(LauncherTest, ComposesEachCommandLineWithItsFallback) {
    // Browser: quoted URL; the old browser path when none is configured.
    EXPECT_EQ(browserCommandLine("/usr/bin/firefox", "http://a.example/x y"),
              "/usr/bin/firefox \"http://a.example/x y\"");
    EXPECT_EQ(browserCommandLine("", "http://www."), kIe + " \"http://www.\"");
    // A quote cannot end the quoting early.
    EXPECT_EQ(browserCommandLine("b", "http://a/\" -x \""), "b \"http://a/%22 -x %22\"");
    // Home page: unquoted.
    EXPECT_EQ(homePageCommandLine("/usr/bin/firefox", "http://h.example/k/"), "/usr/bin/firefox http://h.example/k/");
    EXPECT_EQ(homePageCommandLine("", "http://h.example/k/"), kIe + " http://h.example/k/");
    // Editor: the fallback when the path is empty or names no file. The file
    // is joined to the folder with the system's separator.
    const std::string history = (fs::path("/home/u/kz") / "atarimgrp.txt").string();
    EXPECT_EQ(editorCommandLine("/usr/bin/gedit", true, "/home/u/kz"), "/usr/bin/gedit " + history);
    EXPECT_EQ(editorCommandLine("/usr/bin/gedit", false, "/home/u/kz"), "notepad.exe " + history);
    EXPECT_EQ(editorCommandLine("", true, "/home/u/kz"), "notepad.exe " + history);
    // Spreadsheet: no quotes; without a path the desktop opens the file.
    EXPECT_EQ(spreadsheetCommandLine("/usr/bin/localc", "/k/tmptxt.csv"), "/usr/bin/localc /k/tmptxt.csv");
    const std::string opener = desktopOpener();
    EXPECT_EQ(spreadsheetCommandLine("", "/k/tmptxt2.csv"), opener + " /k/tmptxt2.csv");
    EXPECT_EQ(spreadsheetCommandLine("  ", "/k/tmptxt2.csv"), opener + " /k/tmptxt2.csv");
}

TEST(LauncherTest, SplitsAtBlanksOutsideQuotesOnly) {
    EXPECT_EQ(splitCommandLine("prog  a\tb"), (Args{"prog", "a", "b"}));
    EXPECT_EQ(splitCommandLine("prog \"a b\" x\"y z\"w"), (Args{"prog", "a b", "xy zw"}));
    EXPECT_EQ(splitCommandLine("prog \"\""), (Args{"prog", ""}));
    EXPECT_EQ(splitCommandLine("prog \"open to the end"), (Args{"prog", "open to the end"}));
    EXPECT_EQ(splitCommandLine("prog a;b $(c) `d` e&&f g|h"), (Args{"prog", "a;b", "$(c)", "`d`", "e&&f", "g|h"}));
    EXPECT_EQ(splitCommandLine("   "), Args{});
}

TEST(LauncherTest, TakesTheLongestExistingPathWithBlanksAsTheProgram) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "my tools");
    dir.write("my tools/calc soft", "#!/bin/sh\n");
    const std::string program = (dir.path() / "my tools" / "calc soft").string();

    EXPECT_EQ(splitCommandLine(program + " /k/tmptxt.csv"), (Args{program, "/k/tmptxt.csv"}));
    // Blanks inside the program path are kept as written.
    const std::string spaced = (dir.path() / "my tools").string() + "/calc soft";
    EXPECT_EQ(splitCommandLine(spaced + " a b").front(), spaced);
    // One blank in the program's name: split after the program, not inside it.
    const std::string oneBlank = dir.write("calc soft", "#!/bin/sh\n").string();
    EXPECT_EQ(splitCommandLine(oneBlank + " x"), (Args{oneBlank, "x"}));
    EXPECT_EQ(launchArguments(spreadsheetCommandLine(oneBlank, "/k/tmptxt.csv")), (Args{oneBlank, "/k/tmptxt.csv"}));
    // No such file: the first word is the program.
    EXPECT_EQ(splitCommandLine(dir.str() + "/my tools/none x"), (Args{dir.str() + "/my", "tools/none", "x"}));
    // A folder is not a program.
    EXPECT_EQ(splitCommandLine(dir.str() + "/my tools x").front(), dir.str() + "/my");
    // The file after the program, in a folder whose name holds blanks and
    // quotes (Windows allows no quotes), stays one argument as written;
    // options before it stay apart.
    const std::string data = testing::kPosix ? "my \"data\"" : "my data";
    std::filesystem::create_directories(dir.path() / data);
    const std::string csv = dir.write(data + "/tmptxt.csv", "x").string();
    EXPECT_EQ(splitCommandLine(program + " --calc " + csv), (Args{program, "--calc", csv}));
    EXPECT_EQ(splitCommandLine("notepad.exe " + csv), (Args{"notepad.exe", csv}));
}

TEST(LauncherTest, ReplacesTheWindowsFallbacksByTheSystemOpener) {
    if (!testing::kPosix) GTEST_SKIP() << "Windows has the fallbacks themselves";
    EXPECT_EQ(launchArguments(browserCommandLine("", "http://a.example/?q=1 2")),
              (Args{"xdg-open", "http://a.example/?q=1 2"}));
    EXPECT_EQ(launchArguments(homePageCommandLine("", "http://h.example/")), (Args{"xdg-open", "http://h.example/"}));
    EXPECT_EQ(launchArguments(editorCommandLine("", false, "/k")), (Args{"xdg-open", "/k/atarimgrp.txt"}));
    EXPECT_EQ(launchArguments("/usr/bin/gedit /k/atarimgrp.txt"), (Args{"/usr/bin/gedit", "/k/atarimgrp.txt"}));
    EXPECT_EQ(launchArguments(spreadsheetCommandLine("", "/k/tmptxt.csv")), (Args{"xdg-open", "/k/tmptxt.csv"}));
    // No program at all.
    EXPECT_EQ(launchArguments(" /k/tmptxt.csv"), Args{});
    EXPECT_EQ(launchArguments("\"\" x"), Args{});
}

TEST(LauncherTest, ReportsEachKindOfStartFailure) {
    TempDir dir;
    std::string text;
    EXPECT_EQ(errorCodeOf(""), kInvalidCall);
    EXPECT_EQ(errorCodeOf(" /k/tmptxt.csv"), kInvalidCall);

    const std::string missing = dir.str() + "/no-such-program";
    EXPECT_EQ(errorCodeOf(missing + " x", &text), kFileNotFound);
    EXPECT_NE(text.find(missing), std::string::npos) << text;
    EXPECT_EQ(errorCodeOf("kazuban-no-such-program-on-path x"), kFileNotFound);

    // A data file named as the program cannot be run.
    const auto data = dir.write("data.csv", "1,2\n");
    fs::permissions(data,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(errorCodeOf(data.string() + " x", &text), kPermissionDenied);
    EXPECT_NE(text.find(data.string()), std::string::npos) << text;
}

// What reaches the started program is exactly the text of each argument: no
// shell ever sees a URL or a path.
TEST(LauncherTest, PassesShellSyntaxThroughAsLiteralText) {
    TempDir dir;
    ArgumentRecorder recorder(dir.path());
    const std::string canary = (dir.path() / "pwned").string();
    const std::string url = "http://a.example/?q=1;touch " + canary + " $(touch " + canary + ") `touch " + canary +
                            "` && touch " + canary + " | cat\ntouch " + canary + " \" --option \"";

    ASSERT_EQ(errorCodeOf(browserCommandLine(ArgumentRecorder::script(), url)), 0);
    const auto got = recorder.wait();
    ASSERT_TRUE(got.has_value());
    const std::string sent = url.substr(0, url.find('"')) + "%22 --option %22";
    EXPECT_EQ(*got, (Args{ArgumentRecorder::script(), sent}));
    EXPECT_FALSE(std::filesystem::exists(canary));

    // The started program is not left behind as our child (no zombie).
    EXPECT_TRUE(testing::noChildProcessLeft());
}

TEST(LauncherTest, StartsAProgramWhosePathHoldsBlanksOnAnUnquotedPath) {
    TempDir dir;
    ArgumentRecorder recorder(dir.path());
    std::filesystem::create_directories(dir.path() / "my tools");
    // Windows starts only programs named .exe.
    const auto program = dir.path() / "my tools" / (testing::kPosix ? "calc soft" : "calc soft.exe");
    std::filesystem::copy_file(ArgumentRecorder::script(), program);
    fs::permissions(program, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    // Unquoted, so only blanks would split it.
    const std::string csv = dir.str() + "/a;b$(id)`id`&&c|d>e\nf/tmptxt.csv";

    ASSERT_EQ(errorCodeOf(spreadsheetCommandLine(program.string(), csv)), 0);
    auto got = recorder.wait();
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, (Args{program.string(), csv}));

    // A print file in a start-up folder whose name holds blanks and quotes.
    std::filesystem::remove(dir.path() / "record.bin");
    const std::string folder = testing::kPosix ? "my \"kazuban\" data" : "my kazuban data";
    std::filesystem::create_directories(dir.path() / folder);
    const std::string printFile = dir.write(folder + "/tmptxt.csv", "x").string();
    ASSERT_EQ(errorCodeOf(spreadsheetCommandLine(program.string(), printFile)), 0);
    got = recorder.wait();
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, (Args{program.string(), printFile}));

    // Without a spreadsheet path the desktop's opener gets that file whole.
    const std::string opener = desktopOpener();
    EXPECT_EQ(launchArguments(spreadsheetCommandLine("", printFile)), (Args{opener, printFile}));
}

// A Windows program reads its arguments back from one command line: each
// must come back whole, whatever blanks, quotes and backslashes it holds.
TEST(LauncherTest, QuotesEachArgumentForAWindowsProgram) {
    EXPECT_EQ(platform::windowsCommandLine({"prog", "a", "b c", ""}), "prog a \"b c\" \"\"");
    EXPECT_EQ(platform::windowsCommandLine({"C:\\Program Files\\x.exe", "C:\\dir\\"}),
              "\"C:\\Program Files\\x.exe\" C:\\dir\\");
    // Backslashes double only before a quote, the argument's own or the closing one.
    EXPECT_EQ(platform::windowsCommandLine({"p", "say \"hi\""}), "p \"say \\\"hi\\\"\"");
    EXPECT_EQ(platform::windowsCommandLine({"p", "a\\\"b"}), "p \"a\\\\\\\"b\"");
    EXPECT_EQ(platform::windowsCommandLine({"p", "C:\\my dir\\"}), "p \"C:\\my dir\\\\\"");
    EXPECT_EQ(platform::windowsCommandLine({"p", "tab\there"}), "p \"tab\there\"");
}

// The started program receives exactly the arguments given, on every system
// (on Windows through the command line above and CreateProcessW).
TEST(LauncherTest, TheStartedProgramReceivesEachArgumentWhole) {
    TempDir dir;
    ArgumentRecorder recorder(dir.path());
    const Args args{ArgumentRecorder::script(),
                    "two words",
                    "",
                    "\"quoted\"",
                    "back\\slash\\",
                    "a\\\"b",
                    "C:\\my dir\\",
                    "組合せ データ",
                    "100%",
                    "x&y|z<w>v^"};
    platform::startDetached(args);
    const auto got = recorder.wait();
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, args);
}

}  // namespace
}  // namespace kazuban::output
