#include "views/links.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/form1.h"
#include "config/env_file.h"
#include "platform/line_file.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::views {
namespace {

using platform::Icon;
using testing::FakePlatform;
using testing::TempDir;

TEST(LinkTextTest, SplitsAtTheFirstEqualsSignAndValidates) {
    EXPECT_EQ(linkLabel("出現間隔=http://s.example/a.cgi?x=1&y=2"), "出現間隔");
    EXPECT_EQ(linkUrl("出現間隔=http://s.example/a.cgi?x=1&y=2"), "http://s.example/a.cgi?x=1&y=2");
    EXPECT_EQ(linkUrl("http://no-label.example/"), "http://no-label.example/");

    EXPECT_TRUE(isValidLink("http://x?a=b"));  // "=" anywhere will do
    EXPECT_TRUE(isValidLink("a=https://x"));
    EXPECT_FALSE(isValidLink("a=ftp://x"));
    EXPECT_FALSE(isValidLink("https://x"));
    EXPECT_EQ(firstInvalidLink(config::defaultLinks()), -1);  // "追加登録=http://www." included
    auto links = config::defaultLinks();
    links[5].clear();
    links[7] = "bad";
    EXPECT_EQ(firstInvalidLink(links), 5);
    EXPECT_EQ(invalidLinkMessage(5), " 6行目に記入ミスがあります。");
}

TEST(LinkTextTest, RefreshStopsAtTheFirstLinkWithoutEquals) {
    views::LinkControls c;
    c.Text1 = {"a=http://a", "b=http://b", "no equals", "d=http://d"};
    c.Command1Caption[3] = "old";
    c.Option1[3] = true;
    c.Text1Visible[1] = c.Text1Visible[3] = true;
    c.Command2Visible = c.Command7Visible = c.Command8Visible = true;

    refreshLinks(c);
    EXPECT_EQ(c.Command1Caption[0], "Go! a");
    EXPECT_EQ(c.Command1Caption[1], "Go! b");
    EXPECT_FALSE(c.Text1Visible[1]);
    EXPECT_EQ(c.Command1Caption[2], "");
    EXPECT_EQ(c.Command1Caption[3], "old");
    EXPECT_TRUE(c.Option1[3]);
    EXPECT_TRUE(c.Text1Visible[3]);
    EXPECT_TRUE(c.Command2Visible && c.Command7Visible && c.Command8Visible);

    c.Text1 = config::defaultLinks();
    refreshLinks(c);
    EXPECT_EQ(c.Command1Caption[8], "Go! 追加登録");
    EXPECT_FALSE(c.Option1[3] || c.Text1Visible[3]);
    EXPECT_FALSE(c.Command2Visible || c.Command7Visible || c.Command8Visible);
}

class LinksTabTest : public ::testing::Test {
protected:
    LinksTabTest() {
        f.state().startdir = f.state().mydir = dir.str();
        f.state().editdir = "/usr/bin/gedit";
        f.state().datadir = text::pathFromUtf8("/home/u/データ");
        f.state().browsdir = "/usr/bin/firefox";
        f.links().setTexts(config::defaultLinks());
        dir.write("Kazuban.ini", "the old file");
    }
    bool editing() const {
        return f.links().controls().Command2Visible || f.links().controls().Command7Visible ||
               f.links().controls().Command8Visible;
    }

    TempDir dir;
    FakePlatform fake;
    app::Form1 f{fake};
};

TEST_F(LinksTabTest, EditToggleCancelAndJumpWithTheTypedText) {
    f.Option1_Click(3);
    f.Option1_Click(5);  // editing moves to link 5
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(f.links().controls().Text1Visible[static_cast<std::size_t>(i)], i == 5);
        EXPECT_EQ(f.links().controls().Option1[static_cast<std::size_t>(i)], i == 5);
    }
    EXPECT_TRUE(f.links().controls().Command2Visible && f.links().controls().Command7Visible &&
                f.links().controls().Command8Visible);

    f.Text1_Change(5, "自作=http://my.example/q?a=1 b");
    f.Command7_Click();
    EXPECT_FALSE(editing());
    EXPECT_FALSE(f.links().controls().Text1Visible[5] || f.links().controls().Option1[5]);
    EXPECT_EQ(f.links().controls().Text1[5], "自作=http://my.example/q?a=1 b");  // kept, not saved
    EXPECT_EQ(dir.read("Kazuban.ini"), "the old file");

    f.Command1_Click(5);
    f.Command1_Click(9);  // no such link
    EXPECT_EQ(fake.startedPrograms, std::vector<std::string>{"/usr/bin/firefox \"http://my.example/q?a=1 b\""});
}

TEST_F(LinksTabTest, JumpTakesHttpsAndRefusesAnythingElse) {
    f.Text1_Change(0, "安全=https://s.example/a?b=c");
    f.Text1_Change(1, "x=--headless http://y");  // an option in front of the address
    f.Text1_Change(2, "x=-new-window=http://y");
    f.Text1_Change(3, "x= http://y");
    f.Text1_Change(4, "x=javascript:alert(1)");
    for (int i = 0; i < 5; ++i) f.Command1_Click(i);
    EXPECT_EQ(fake.startedPrograms, std::vector<std::string>{"/usr/bin/firefox \"https://s.example/a?b=c\""});
    ASSERT_EQ(fake.messages.size(), 4u);
    EXPECT_EQ(fake.messages[0].text, " 2行目のｱﾄﾞﾚｽは http:// か https:// で始めて下さい｡");
    EXPECT_EQ(fake.messages[0].icon, Icon::Exclamation);
    EXPECT_EQ(fake.messages[3].text, " 5行目のｱﾄﾞﾚｽは http:// か https:// で始めて下さい｡");
}

TEST_F(LinksTabTest, JumpFailureShowsTheErrorAndTheBrowserHint) {
    fake.startForReal = true;
    f.state().browsdir = dir.str() + "/no-browser";
    f.Command1_Click(0);
    ASSERT_EQ(fake.messages.size(), 1u);
    const std::string hint = "ﾌﾞﾗｳｻﾞｰの登録場所を確認・再登録して下さい";
    const std::string& text = fake.messages[0].text;
    ASSERT_GT(text.size(), hint.size());
    EXPECT_EQ(text.substr(text.size() - hint.size()), hint);
    EXPECT_EQ(fake.messages[0].icon, Icon::Critical);
    EXPECT_EQ(std::get<int>(f.state().msg), 1);
}

TEST_F(LinksTabTest, SaveValidatesThenWritesTheFileFromMemory) {
    f.Option1_Click(5);
    f.Text1_Change(5, "");
    f.Command2_Click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, " 6行目に記入ミスがあります。");
    EXPECT_EQ(fake.messages[0].icon, Icon::Exclamation);
    EXPECT_EQ(dir.read("Kazuban.ini"), "the old file");
    EXPECT_TRUE(editing() && f.links().controls().Text1Visible[5]);

    f.Text1_Change(5, "６分割=http://x.example/a?b=c");
    f.Command2_Click();
    EXPECT_EQ(fake.messages.size(), 1u);
    auto expected = config::defaultLinks();
    expected[5] = "６分割=http://x.example/a?b=c";
    EXPECT_EQ(dir.readLines("Kazuban.ini"),
              config::environmentFileLines("/usr/bin/gedit", "/home/u/データ", "", "/usr/bin/firefox", expected));
    EXPECT_EQ(dir.read("Kazuban.ini").substr(0, 2), "[ ");
    EXPECT_NE(dir.read("Kazuban.ini").find("\r\n"), std::string::npos);
    EXPECT_FALSE(editing() || f.links().controls().Text1Visible[5] || f.links().controls().Option1[5]);
    EXPECT_FALSE(f.closeRequested());
}

TEST_F(LinksTabTest, RestoreDefaultsSavesThem) {
    f.links().setTexts({});
    f.Option1_Click(0);
    f.Command8_Click();
    EXPECT_EQ(f.links().controls().Text1, config::defaultLinks());
    EXPECT_EQ(config::readEnvironmentFile(dir.file("Kazuban.ini"), config::ReadRule::StartUp).links(),
              config::defaultLinks());
    EXPECT_FALSE(editing());
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(LinksTabTest, AFailedWriteIsShownAndTheProgramGoesOn) {
    f.Option1_Click(2);
    platform::setWriteFaultHook(
        [](const std::filesystem::path&) { throw AppError(kPathFileAccess, "ディスクに書き込めません。"); });
    f.Command2_Click();
    platform::setWriteFaultHook(nullptr);

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "ディスクに書き込めません。");
    EXPECT_EQ(fake.messages[0].icon, Icon::None);
    EXPECT_EQ(std::get<int>(f.state().msg), 1);
    EXPECT_FALSE(f.closeRequested());
    EXPECT_EQ(dir.read("Kazuban.ini"), "the old file");
    EXPECT_TRUE(editing());  // still unsaved: the user may try again
}

}  // namespace
}  // namespace kazuban::views
