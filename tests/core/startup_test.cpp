#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/form1.h"
#include "config/env_file.h"
#include "platform/line_file.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "text/app_error.h"

namespace kazuban::app {
namespace {

using platform::Buttons;
using platform::Icon;
using testing::TempDir;

const char* const kHistoryGone = "atarimgrp.txt ﾌｧｲﾙを Kazuban と同じﾌｫﾙﾀﾞｰに置いて下さい";

// A FakePlatform with seams for faults: a file-existence answer that differs
// from the disk, and a message box that fails while a condition holds.
class FaultyPlatform : public testing::FakePlatform {
public:
    std::function<std::optional<bool>(const std::filesystem::path&)> existsOverride;
    std::function<bool(const std::string&)> failMessage;  // throw instead of showing this text
    std::string cwd;

    bool fileExists(const std::filesystem::path& path) override {
        if (existsOverride)
            if (auto v = existsOverride(path)) return *v;
        return FakePlatform::fileExists(path);
    }
    int messageBox(const std::string& text, Icon icon, Buttons buttons) override {
        if (failMessage && failMessage(text)) throw AppError(kInvalidCall, "テスト用の障害です。");
        return FakePlatform::messageBox(text, icon, buttons);
    }
    std::filesystem::path currentDirectory() override {
        return cwd.empty() ? FakePlatform::currentDirectory() : std::filesystem::path(cwd);
    }
};

bool msgIs(const Form1& f, int v) {
    const int* p = std::get_if<int>(&f.state().msg);
    return p && *p == v;
}

TEST(StartUp, MissingFilesShowOneMessageAndEnd) {
    TempDir dir;  // neither file: only the first message
    FaultyPlatform p;
    Form1 f(p);
    EXPECT_FALSE(f.Form_Load(dir.str()));
    EXPECT_TRUE(f.closeRequested());
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, missingDataFileMessage("atarimgrp.txt", dir.path()));
#ifndef _WIN32
    // There is no Kazuban.exe to put it beside: the message names the folder searched.
    EXPECT_EQ(p.messages[0].text, "atarimgrp.txt ﾌｧｲﾙを次のﾌｫﾙﾀﾞｰに置いて下さい\n" + dir.str());
#endif
    EXPECT_EQ(p.messages[0].icon, Icon::Critical);
    EXPECT_TRUE(msgIs(f, 1));

    testing::writeSyntheticHistory(dir, 30, 1);
    FaultyPlatform p2;
    Form1 g(p2);
    EXPECT_FALSE(g.Form_Load(dir.str()));
    ASSERT_EQ(p2.messages.size(), 1u);
    EXPECT_EQ(p2.messages[0].text, missingDataFileMessage("Kazuban.ini", dir.path()));
    EXPECT_EQ(missingDataFileMessage("Kazuban.ini", dir.path(), /*classicText=*/true),
              "Kazuban.ini ﾌｧｲﾙを Kazuban.exe と同じﾌｫﾙﾀﾞｰに置いて下さい");

    // The CLI starts without an environment file and does not create one.
    FaultyPlatform p3;
    Form1 h(p3);
    EXPECT_TRUE(h.Form_Load(dir.str(), false));
    EXPECT_TRUE(p3.messages.empty());
    EXPECT_EQ(h.state().maxn, 30);
    EXPECT_FALSE(dir.exists("Kazuban.ini"));
}

TEST(StartUp, DemoFolderStartsAndBuildsEverything) {
    TempDir dir;
    testing::copyDemo(dir);
    FaultyPlatform p;
    p.cwd = dir.str();  // no folder given: the current directory
    Form1 f(p);
    ASSERT_TRUE(f.Form_Load());
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(f.state().startdir, dir.str());
    EXPECT_EQ(f.state().mydir, dir.str());
    EXPECT_EQ(f.state().maxn, 1400);
    EXPECT_EQ(f.state().tdataon, 1);
    EXPECT_EQ(f.links().controls().Text1, config::defaultLinks());
    EXPECT_EQ(f.state().pairCounts[1][1], 248);  // counted independently from the demo data
    EXPECT_EQ(f.state().pairCounts[3][11], 67);
    EXPECT_EQ(f.state().recentRanking.number[1][1], 31);
    EXPECT_EQ(f.state().recentRanking.count[3][1], 5);
    EXPECT_EQ(f.combinationTable().col(), 1);
    EXPECT_EQ(f.combinationTable().colSel(), 150);  // Int(1400 * 0.1) + 10
    EXPECT_EQ(f.frame().HScroll1().max, 1400);
    EXPECT_EQ(f.frame().HScroll1().value, 1);
}

TEST(StartUp, RepairKeepsTheLinksThatWereRead) {
    // A step after the links were read fails once (here: the bad-lines
    // message of the loader); the rewritten file keeps paths and links.
    TempDir dir;
    auto history = testing::syntheticHistoryLines(30, 4);
    history[7] = "第7回=broken";
    dir.writeLines("atarimgrp.txt", history);
    config::Links links = config::defaultLinks();
    links[2] = "自作=http://example.jp/a?b=c";
    config::writeEnvironmentFile(dir.file("Kazuban.ini"), "ed", "data", "calc", "", links);
    FaultyPlatform p;
    int failures = 1;
    p.failMessage = [&](const std::string& text) { return text.find("8 行目") != std::string::npos && failures-- > 0; };
    Form1 f(p);
    ASSERT_TRUE(f.Form_Load(dir.str()));
    // The fault's text, then the bad-lines message of the retried load.
    ASSERT_EQ(p.messages.size(), 2u);
    EXPECT_EQ(p.messages[0].text, "テスト用の障害です。");
    EXPECT_NE(p.messages[1].text.find("8 行目"), std::string::npos);
    EXPECT_EQ(f.state().editdir, "ed");
    EXPECT_EQ(f.state().datadir, "data");
    EXPECT_EQ(f.state().calcdir, "calc");
    EXPECT_EQ(f.links().controls().Text1, links);
    const auto env = config::readEnvironmentFile(dir.file("Kazuban.ini"), config::ReadRule::StartUp);
    EXPECT_EQ(env.editor(), "ed");
    EXPECT_EQ(env.calcSoft(), "calc");
    EXPECT_EQ(env.links(), links);
}

void failingDisk(const std::filesystem::path&) { throw AppError(kPathFileAccess, "書き込みに失敗しました。"); }

TEST(StartUp, ErrorHandlerRepairsAndRetriesOnce) {
    // The environment file vanishes between the check and the read: the
    // handler reports it, writes a new one and the retried read succeeds.
    auto iniAlwaysThere = [](const std::filesystem::path& path) -> std::optional<bool> {
        if (path.filename() == "Kazuban.ini") return true;
        return std::nullopt;
    };
    TempDir dir;
    testing::writeSyntheticHistory(dir, 25, 3);
    FaultyPlatform p;
    p.existsOverride = iniAlwaysThere;
    Form1 f(p);
    ASSERT_TRUE(f.Form_Load(dir.str()));
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].icon, Icon::None);
    EXPECT_EQ(f.state().maxn, 25);
    const auto lines = dir.readLines("Kazuban.ini");
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[1], "Your editor=");

    // When the repair cannot be written either, the second failure ends the program.
    TempDir dir2;
    testing::writeSyntheticHistory(dir2, 25, 3);
    FaultyPlatform p2;
    p2.existsOverride = iniAlwaysThere;
    platform::setWriteFaultHook(&failingDisk);
    Form1 g(p2);
    const bool started = g.Form_Load(dir2.str());
    platform::setWriteFaultHook(nullptr);
    EXPECT_FALSE(started);
    EXPECT_TRUE(g.closeRequested());
    ASSERT_EQ(p2.messages.size(), 3u);  // read error, failed repair, read error
    EXPECT_EQ(p2.messages[1].text, "書き込みに失敗しました。");
    EXPECT_EQ(p2.messages[0].text, p2.messages[2].text);
}

TEST(StartUp, UnreadableHistoryEndsTheProgram) {
    TempDir dir;
    dir.write("atarimgrp.txt", "");  // no line at all
    testing::writeMinimalEnvironment(dir);
    testing::FakePlatform p;
    Form1 f(p);
    EXPECT_FALSE(f.Form_Load(dir.str()));
    EXPECT_TRUE(f.closeRequested());
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].icon, Icon::None);
    EXPECT_TRUE(msgIs(f, 1));
}

TEST(HistoryReload, GrowsFailsSafelyAndRecovers) {
    TempDir dir;
    const auto draws = testing::syntheticDraws(60, 9);
    testing::writeHistory(dir, {draws.begin(), draws.begin() + 40});
    testing::writeMinimalEnvironment(dir);
    testing::FakePlatform p;
    Form1 f(p);
    ASSERT_TRUE(f.Form_Load(dir.str()));
    EXPECT_EQ(f.state().maxn, 40);

    testing::writeHistory(dir, draws);
    f.state().loadWinningNumbers();
    EXPECT_EQ(f.state().maxn, 60);
    EXPECT_EQ(f.state().history.maxn(), 60);
    EXPECT_EQ(f.state().history.entry(60), testing::makeDrawText(draws[59]));
    EXPECT_TRUE(p.messages.empty());

    // The file goes away: the error's own text, the history stays, the program goes on.
    std::filesystem::remove(dir.file("atarimgrp.txt"));
    f.state().loadWinningNumbers();
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].icon, Icon::None);
    EXPECT_TRUE(f.state().msgIsOne());
    EXPECT_FALSE(f.closeRequested());
    EXPECT_EQ(f.state().maxn, 60);
    EXPECT_EQ(f.state().history.maxn(), 60);
    // Still gone: the put-the-file message.
    f.state().loadWinningNumbers();
    ASSERT_EQ(p.messages.size(), 2u);
    EXPECT_EQ(p.messages[1].text, kHistoryGone);
    EXPECT_EQ(p.messages[1].icon, Icon::Critical);
    EXPECT_FALSE(f.closeRequested());
    // Back again: loads, and the old failure no longer reads as one.
    testing::writeHistory(dir, {draws.begin(), draws.begin() + 50});
    f.state().loadWinningNumbers();
    EXPECT_EQ(f.state().maxn, 50);
    EXPECT_FALSE(f.state().msgIsOne());
    EXPECT_EQ(p.messages.size(), 2u);
}

TEST(HistoryReload, BadLinesAreReportedOncePerSet) {
    TempDir dir;
    auto lines = testing::syntheticHistoryLines(30, 5);
    lines[10] = "第10回= 1, 2, 3";
    dir.writeLines("atarimgrp.txt", lines);
    testing::writeMinimalEnvironment(dir);
    testing::FakePlatform p;
    Form1 f(p);
    ASSERT_TRUE(f.Form_Load(dir.str()));
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_NE(p.messages[0].text.find("11 行目"), std::string::npos);
    EXPECT_FALSE(f.state().history.isValidDraw(10));
    f.state().loadWinningNumbers();
    EXPECT_EQ(p.messages.size(), 1u);
    lines[20] = "第20回=xx";
    dir.writeLines("atarimgrp.txt", lines);
    f.state().loadWinningNumbers();
    ASSERT_EQ(p.messages.size(), 2u);
    EXPECT_NE(p.messages[1].text.find("21 行目"), std::string::npos);
}

TEST(MainWindow, ExitAndSettings) {
    TempDir dir;
    testing::prepareDataFolder(dir, 10, 1);
    testing::FakePlatform p;
    Form1 f(p);
    ASSERT_TRUE(f.Form_Load(dir.str()));
    f.state().msg = 7;
    p.answers = {platform::kCancel, platform::kOk};
    f.mnufclose_Click();
    EXPECT_FALSE(f.closeRequested());
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, " 終了します。 よろしいですか？");
    EXPECT_EQ(p.messages[0].icon, Icon::None);
    EXPECT_EQ(p.messages[0].buttons, Buttons::OkCancel);
    f.mnufclose_Click();
    EXPECT_TRUE(f.closeRequested());
    EXPECT_TRUE(msgIs(f, 7)) << "the answer is not kept";
}

}  // namespace
}  // namespace kazuban::app
