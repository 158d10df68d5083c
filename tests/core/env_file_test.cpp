#include <gtest/gtest.h>

#include "config/env_file.h"
#include "config/hosts.h"
#include "support/history_gen.h"
#include "text/app_error.h"
#include "text/line_file.h"

namespace kazuban::config {
namespace {

using testing::TempDir;

TEST(EnvironmentFile, StartUpRuleCutsOnlyTheFirstFiveLines) {
    const std::vector<std::string> lines{
        "no header rule=anything", "Your editor=/usr/bin/vi", "Your data dirctory=", "/bare/path",
        "Your browser=a=b", "検索=http://example.jp/q?a=1&b=2", "no equals here"};
    const auto env = environmentFromLines(lines, ReadRule::StartUp);
    EXPECT_EQ(env.linesRead, 7);
    EXPECT_EQ(env.slots[0], "anything");
    EXPECT_EQ(env.editor(), "/usr/bin/vi");
    EXPECT_EQ(env.dataFolder(), "");
    EXPECT_EQ(env.calcSoft(), "/bare/path");
    EXPECT_EQ(env.browser(), "a=b");
    EXPECT_EQ(env.link(0), "検索=http://example.jp/q?a=1&b=2");
    EXPECT_EQ(env.link(1), "no equals here");
    EXPECT_EQ(env.link(2), "");

    const auto dialog = environmentFromLines(lines, ReadRule::Settings);
    EXPECT_EQ(dialog.editor(), "/usr/bin/vi");
    EXPECT_EQ(dialog.slots[5], "http://example.jp/q?a=1&b=2");
    EXPECT_EQ(dialog.slots[6], "no equals here");
}

TEST(EnvironmentFile, ShortAndLongFiles) {
    const auto none = environmentFromLines({}, ReadRule::StartUp);
    EXPECT_EQ(none.linesRead, 0);
    EXPECT_EQ(none.editor(), "");
    EXPECT_EQ(none.links(), Links{});

    const auto five = environmentFromLines(testing::environmentLines({}, "ed"), ReadRule::StartUp);
    EXPECT_EQ(five.editor(), "ed");
    EXPECT_EQ(five.links(), Links{});

    // Lines beyond the 21st are ignored, not an error.
    std::vector<std::string> many;
    for (int i = 0; i < 30; ++i) many.push_back("k=" + std::to_string(i));
    const auto env = environmentFromLines(many, ReadRule::Settings);
    EXPECT_EQ(env.linesRead, 21);
    EXPECT_EQ(env.linesIgnored, 9);
    EXPECT_EQ(env.slots[20], "20");
}

TEST(EnvironmentFile, WritesFourteenCp932LinesAndReadsThemBack) {
    TempDir dir;
    Links links = defaultLinks();
    links[3] = "自作=http://example.jp/a?b=c";
    const auto path = dir.file("Kazuban.ini");
    writeEnvironmentFile(path, "C:\\エディタ\\ed.exe", "/data", "", "/usr/bin/firefox", links);

    const std::string bytes = dir.read("Kazuban.ini");
    const std::string head = text::encodeCp932("[ Kazuban の環境ﾌｧｲﾙ ]\r\nYour editor=C:\\");
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    const auto lines = dir.readLines("Kazuban.ini");
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[2], "Your data dirctory=/data");
    EXPECT_EQ(lines[3], "Your calcsoft=");

    const auto env = readEnvironmentFile(path, ReadRule::StartUp);
    EXPECT_EQ(env.editor(), "C:\\エディタ\\ed.exe");
    EXPECT_EQ(env.dataFolder(), "/data");
    EXPECT_EQ(env.calcSoft(), "");
    EXPECT_EQ(env.browser(), "/usr/bin/firefox");
    EXPECT_EQ(env.links(), links);

    // A text cp932 cannot hold is refused and the old file stays whole.
    EXPECT_THROW(writeEnvironmentFile(path, "😀", "", "", "", links), AppError);
    EXPECT_EQ(dir.read("Kazuban.ini"), bytes);
    EXPECT_THROW(readEnvironmentFile(dir.file("absent.ini"), ReadRule::StartUp), AppError);
}

TEST(EnvironmentFile, DefaultLinks) {
    const Links links = defaultLinks();
    EXPECT_EQ(links[0], std::string("偶数・奇数=http://") + kStatisticsHost + "/miniloto/mltgk.htm");
    EXPECT_EQ(links[5], std::string("６分割=http://") + kStatisticsHost + "/miniloto/ml6bunkatu.htm");
    EXPECT_EQ(links[7], std::string("連番・飛び石=http://") + kStatisticsHost + "/miniloto/mltrentobi.htm");
    EXPECT_EQ(links[8], "追加登録=http://www.");
    for (const auto& l : links) {
        EXPECT_NE(l.find("http://"), std::string::npos);
        EXPECT_NE(l.find('='), std::string::npos);
    }
    // The demo environment file holds the default links.
    const auto demo = readEnvironmentFile(testing::demoDir() / "Kazuban.ini", ReadRule::StartUp);
    EXPECT_EQ(demo.links(), links);
}

}  // namespace
}  // namespace kazuban::config
