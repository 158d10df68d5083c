#include "config/dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/env_file.h"
#include "config/hosts.h"
#include "platform/line_file.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "support/os.h"
#include "text/app_error.h"

namespace kazuban::config {
namespace {

using platform::Icon;
using testing::FakePlatform;
using testing::TempDir;

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class DialogTest : public ::testing::Test {
protected:
    DialogTest() {
        links = defaultLinks();
        links[8] = "自作=http://my.example/?a=b";  // edited on tab 3, not saved there
    }
    void writeSettings(const std::vector<std::string>& lines) { dir.writeLines("Kazuban.ini", lines); }

    TempDir dir;
    FakePlatform fake;
    Dialog d{fake};
    Links links;
};

TEST_F(DialogTest, LoadFillsTheFourBoxesFromTheFile) {
    for (const std::string* box : {&d.Text1, &d.Text2, &d.Text3, &d.Text4}) EXPECT_TRUE(endsWith(*box, " <例>"));
    writeSettings({"whatever header", "Your editor=/usr/bin/gedit", "Your data dirctory=/home/u/a=b", "/usr/bin/localc",
                   "Your browser="});
    d.Form_Load(dir.str());
    EXPECT_EQ(d.settingsDir, dir.str());
    EXPECT_TRUE(d.escPressesCancel);
    EXPECT_EQ(d.Text1, "/usr/bin/gedit");
    EXPECT_EQ(d.Text2, "/home/u/a=b");
    EXPECT_EQ(d.Text3, "/usr/bin/localc");
    EXPECT_EQ(d.Text4, "");
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_FALSE(d.closed);
}

TEST_F(DialogTest, LoadErrorIsShownAndTheExamplesStay) {
    const std::string example = d.Text1;
    d.Form_Load(dir.str());  // no Kazuban.ini
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_FALSE(fake.messages[0].text.empty());
    EXPECT_EQ(fake.messages[0].icon, Icon::None);
    EXPECT_EQ(d.Text1, example);
    EXPECT_FALSE(d.closed);
}

TEST_F(DialogTest, PickedFolderGoesToTheFirstSelectedBox) {
    std::filesystem::create_directories(dir.path() / "b data");
    std::filesystem::create_directories(dir.path() / "a");
    std::filesystem::create_directories(dir.path() / ".hidden");
    dir.write("file.txt", "x");

    const std::string before = d.Text2;
    d.Dir1_Change(dir.str());  // no option selected: the boxes stay
    EXPECT_EQ(d.Text2, before);
    EXPECT_EQ(d.Dir1Path, dir.str());
    EXPECT_EQ(d.Dir1Folders, (std::vector<std::string>{(dir.path() / "a").string(), (dir.path() / "b data").string()}));

    d.Option1[1] = d.Option1[3] = true;
    d.Dir1_Change((dir.path() / "b data").string() + "/");
    EXPECT_EQ(d.Text2, (dir.path() / "b data").string());
    EXPECT_TRUE(d.Dir1Folders.empty());
    EXPECT_TRUE(endsWith(d.Text4, " <例>"));

    // Another drive: its folder goes to the box as well. The first drive is
    // "/" here, a drive root such as "C:\\" on Windows.
    ASSERT_FALSE(d.Drive1.empty());
    const std::string root = d.Drive1.front();
    if (testing::kPosix) {
        EXPECT_EQ(root, "/");
    } else {
        EXPECT_TRUE(endsWith(root, ":\\")) << root;
    }
    d.Drive1_Change(root);
    EXPECT_EQ(d.Drive1Drive, root);
    EXPECT_EQ(d.Text2, root);

    // A folder that is gone changes nothing and throws nothing.
    d.Dir1_Change(dir.str() + "/gone");
    EXPECT_EQ(d.Dir1Path, root);
    EXPECT_TRUE(listSubFolders(dir.str() + "/gone").empty());
    EXPECT_TRUE(listSubFolders((dir.path() / "file.txt").string()).empty());
    EXPECT_EQ(driveOf("/media/usb/x", {"/", "/media/usb", "/media/u"}), "/media/usb");
}

TEST_F(DialogTest, OkWritesTheBoxesAndTheWindowsLinks) {
    writeSettings(environmentFileLines("/old/editor", "/old/data", "/old/calc", "/old/browser", defaultLinks()));
    d.Form_Load(dir.str());
    d.Text3 = "/opt/calc soft/calc";
    d.OKButton_Click(links);

    EXPECT_TRUE(fake.messages.empty());
    EXPECT_TRUE(d.closed);
    EXPECT_EQ(dir.readLines("Kazuban.ini"),
              environmentFileLines("/old/editor", "/old/data", "/opt/calc soft/calc", "/old/browser", links));
}

TEST_F(DialogTest, OkAfterTheFileWasDeletedSaysSoOnceAndWritesIt) {
    writeSettings(environmentFileLines("/e", "/d", "/c", "/b", defaultLinks()));
    d.Form_Load(dir.str());
    std::filesystem::remove(dir.file("Kazuban.ini"));
    d.OKButton_Click(links);

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text.rfind(defaultErrorText(kFileNotFound), 0), 0u) << fake.messages[0].text;
    EXPECT_EQ(dir.readLines("Kazuban.ini"), environmentFileLines("/e", "/d", "/c", "/b", links));
    EXPECT_TRUE(d.closed);
}

TEST_F(DialogTest, OkWriteFailureKeepsTheOldFileAndCloses) {
    writeSettings(environmentFileLines("/e", "/d", "/c", "/b", defaultLinks()));
    const std::string old = dir.read("Kazuban.ini");
    d.Form_Load(dir.str());
    d.Text1 = "/new/editor";
    platform::setWriteFaultHook([](const std::filesystem::path&) { throw AppError(kPathFileAccess, "書けません。"); });
    d.OKButton_Click(links);
    platform::setWriteFaultHook(nullptr);

    EXPECT_EQ(fake.messageTexts(), (std::vector<std::string>{"書けません。", "書けません。"}));
    EXPECT_EQ(dir.read("Kazuban.ini"), old);
    EXPECT_TRUE(d.closed);
}

TEST_F(DialogTest, CancelWritesNothing) {
    writeSettings({"h", "Your editor=/e"});
    const std::string old = dir.read("Kazuban.ini");
    d.Form_Load(dir.str());
    d.Text1 = "/changed";
    d.CancelButton_Click();
    EXPECT_TRUE(d.closed);
    EXPECT_FALSE(d.escPressesCancel);
    EXPECT_EQ(dir.read("Kazuban.ini"), old);
}

TEST_F(DialogTest, HomePageOpensUnquotedAndAFailureClosesTheDialog) {
    d.Label11_Click("/usr/bin/firefox");
    d.Label11_Click("");
    EXPECT_EQ(fake.startedPrograms,
              (std::vector<std::string>{std::string("/usr/bin/firefox ") + kMakerHomePage,
                                        std::string("\\Program Files\\Internet Explorer\\IEXPLORE.EXE ") +
                                            kMakerHomePage}));
    EXPECT_FALSE(d.closed);

    fake.startForReal = true;
    d.Label11_Click(dir.str() + "/no-browser");
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_TRUE(endsWith(fake.messages[0].text, "ﾌﾞﾗｳｻﾞｰの登録場所を確認・再登録して下さい"));
    EXPECT_NE(fake.messages[0].text.find("no-browser"), std::string::npos);
    EXPECT_EQ(fake.messages[0].icon, Icon::Critical);
    EXPECT_EQ(d.dialogAnswer, 1);
    EXPECT_TRUE(d.closed);
}

}  // namespace
}  // namespace kazuban::config
