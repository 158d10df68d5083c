#include <gtest/gtest.h>

#include "config/env_file.h"
#include "platform/line_file.h"
#include "support/history_gen.h"
#include "text/app_error.h"

namespace kazuban::config {
namespace {

using testing::TempDir;

TEST(EnvironmentFile, ReadingRules) {
    const std::vector<std::string> lines{"no header rule=anything", "Your editor=/usr/bin/vi",
                                         "Your data dirctory=",     "/bare/path",
                                         "Your browser=a=b",        "検索=http://example.jp/q?a=1&b=2",
                                         "no equals here"};
    const auto env = environmentFromLines(lines, ReadRule::StartUp);
    EXPECT_EQ(env.editor(), "/usr/bin/vi");
    EXPECT_EQ(env.dataFolder(), "");
    EXPECT_EQ(env.calcSoft(), "/bare/path");
    EXPECT_EQ(env.browser(), "a=b");
    EXPECT_EQ(env.link(0), "検索=http://example.jp/q?a=1&b=2");  // link lines stay whole
    EXPECT_EQ(env.link(1), "no equals here");
    EXPECT_EQ(env.link(2), "");
    const auto dialog = environmentFromLines(lines, ReadRule::Settings);
    EXPECT_EQ(dialog.slots[5], "http://example.jp/q?a=1&b=2");
    EXPECT_EQ(dialog.slots[6], "no equals here");

    EXPECT_EQ(environmentFromLines({}, ReadRule::StartUp).links(), Links{});
    // Lines beyond the 21st are ignored, not an error.
    std::vector<std::string> many;
    for (int i = 0; i < 30; ++i) many.push_back("k=" + std::to_string(i));
    const auto big = environmentFromLines(many, ReadRule::Settings);
    EXPECT_EQ(big.linesRead, 21);
    EXPECT_EQ(big.linesIgnored, 9);
    EXPECT_EQ(big.slots[20], "20");
}

TEST(EnvironmentFile, WritesFourteenCp932LinesAndReadsThemBack) {
    TempDir dir;
    Links links = defaultLinks();
    links[3] = "自作=http://example.jp/a?b=c";
    const auto path = dir.file("Kazuban.ini");
    writeEnvironmentFile(path, "C:\\エディタ\\ed.exe", "/data", "", "/usr/bin/firefox", links);

    const std::string bytes = dir.read("Kazuban.ini");
    const std::string head = platform::encodeCp932("[ Kazuban の環境ﾌｧｲﾙ ]\r\nYour editor=C:\\");
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    const auto lines = dir.readLines("Kazuban.ini");
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[2], "Your data dirctory=/data");

    const auto env = readEnvironmentFile(path, ReadRule::StartUp);
    EXPECT_EQ(env.editor(), "C:\\エディタ\\ed.exe");
    EXPECT_EQ(env.calcSoft(), "");
    EXPECT_EQ(env.browser(), "/usr/bin/firefox");
    EXPECT_EQ(env.links(), links);

    // A line break pasted into a value cannot shift the later lines.
    Links pasted = links;
    pasted[0] = "貼付=http://example.jp/a\r\n";
    pasted[1] = "x=http://\ny\rz";
    writeEnvironmentFile(dir.file("pasted.ini"), "/usr/bin/\nvi", "", "", "", pasted);
    const auto back = readEnvironmentFile(dir.file("pasted.ini"), ReadRule::StartUp);
    EXPECT_EQ(dir.readLines("pasted.ini").size(), 14u);
    EXPECT_EQ(back.editor(), "/usr/bin/ vi");
    EXPECT_EQ(back.link(0), "貼付=http://example.jp/a ");
    EXPECT_EQ(back.link(1), "x=http:// y z");
    EXPECT_EQ(back.link(8), links[8]);

    // A text cp932 cannot hold is refused and the old file stays whole.
    EXPECT_THROW(writeEnvironmentFile(path, "😀", "", "", "", links), AppError);
    EXPECT_EQ(dir.read("Kazuban.ini"), bytes);
}

TEST(EnvironmentFile, DefaultLinksAreValidAndMatchTheDemoFile) {
    const Links links = defaultLinks();
    for (const auto& l : links) {
        EXPECT_NE(l.find("http://"), std::string::npos) << l;
        EXPECT_NE(l.find('='), std::string::npos) << l;
    }
    EXPECT_EQ(links[8], "追加登録=http://www.");
    EXPECT_EQ(readEnvironmentFile(testing::demoDir() / "Kazuban.ini", ReadRule::StartUp).links(), links);
}

}  // namespace
}  // namespace kazuban::config
