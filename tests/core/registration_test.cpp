#include <gtest/gtest.h>

#include <filesystem>

#include "app/form1.h"
#include "config/hosts.h"
#include "output/launcher.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban::app {
namespace {

using platform::Icon;
using testing::FakePlatform;
using testing::TempDir;

const std::string kIe = "\\Program Files\\Internet Explorer\\IEXPLORE.EXE";
const std::string kPutHistoryHere = "atarimgrp.txt ﾌｧｲﾙを Kazuban と同じﾌｫﾙﾀﾞｰに置いて下さい";
const std::string kCheckBrowser = "ﾌﾞﾗｳｻﾞｰの登録場所を確認・再登録して下さい";

class RegistrationTest : public ::testing::Test {
protected:
    RegistrationTest() { f.state().startdir = f.state().mydir = dir.str(); }
    std::string history() const { return dir.file("atarimgrp.txt").string(); }

    TempDir dir;
    FakePlatform fake;
    Form1 f{fake};
};

TEST_F(RegistrationTest, OpensTheHistoryInTheEditorOrItsFallback) {
    f.mnuatoroku_Click();  // no editor configured
    const auto editor = dir.write("my editor", "#!/bin/sh\n");
    f.state().editdir = editor.string();
    f.mnuatoroku_Click();
    std::filesystem::remove(editor);  // deleted since: the fallback, silently
    f.mnuatoroku_Click();
    f.state().editdir = "/usr/bin/gedit --new-window";  // options make it no file name
    f.mnuatoroku_Click();

    EXPECT_EQ(fake.startedPrograms,
              (std::vector<std::string>{"notepad.exe " + history(), editor.string() + " " + history(),
                                        "notepad.exe " + history(), "notepad.exe " + history()}));
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(RegistrationTest, EditorFailureShowsTheErrorThenWhereTheFileBelongs) {
    // A path no command line can carry.
    f.state().editdir = dir.str() + "/ed\"itor";
    f.mnuatoroku_Click();
    EXPECT_TRUE(fake.startedPrograms.empty());
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[0].icon, Icon::None);
    EXPECT_NE(fake.messages[0].text.find("ed\"itor"), std::string::npos);
    EXPECT_EQ(fake.messages[1].text, kPutHistoryHere);
    EXPECT_EQ(fake.messages[1].icon, Icon::Critical);
    EXPECT_EQ(std::get<int>(f.state().msg), 1);

    // An editor that exists but cannot be run.
    fake.messages.clear();
    fake.startForReal = true;
    const auto notRunnable = dir.write("editor.txt", "text");
    std::filesystem::permissions(notRunnable, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                                  std::filesystem::perms::group_read |
                                                  std::filesystem::perms::others_read);
    f.state().editdir = notRunnable.string();
    f.mnuatoroku_Click();
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_NE(fake.messages[0].text.find(notRunnable.string()), std::string::npos) << fake.messages[0].text;
    EXPECT_EQ(fake.messages[1].text, kPutHistoryHere);
}

TEST_F(RegistrationTest, OpensTheOperatorsSiteInTheBrowser) {
    const std::string url = std::string("http://") + config::kOperatorHost + "/";
    f.mnuanet_Click();
    f.state().browsdir = "/usr/bin/firefox";
    f.mnuanet_Click();
    EXPECT_EQ(fake.startedPrograms,
              (std::vector<std::string>{kIe + " \"" + url + "\"", "/usr/bin/firefox \"" + url + "\""}));
    EXPECT_TRUE(fake.messages.empty());

    fake.startForReal = true;
    f.state().browsdir = dir.str() + "/no-browser";
    f.mnuanet_Click();
    ASSERT_EQ(fake.messages.size(), 1u);
    const std::string& text = fake.messages[0].text;
    EXPECT_NE(text.find("no-browser"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - kCheckBrowser.size()), kCheckBrowser);
    EXPECT_EQ(fake.messages[0].icon, Icon::Critical);
    EXPECT_EQ(std::get<int>(f.state().msg), 1);
}

}  // namespace
}  // namespace kazuban::app
