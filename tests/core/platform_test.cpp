#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/headless_platform.h"
#include "text/app_error.h"

namespace fs = std::filesystem;
using namespace kazuban;
using namespace kazuban::platform;

namespace {

struct TempDir {
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "kazuban-pf-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp");
        path = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path, ec);
    }
    fs::path path;
};

void touchFile(const fs::path& p) { std::ofstream(p) << "x"; }

}  // namespace

TEST(FileFilter, ParsesLabelPatternPairs) {
    const auto f = parseFilter("ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].label, "ﾃｷｽﾄ(*.txt)");
    EXPECT_EQ(f[0].pattern, "*.txt");
    EXPECT_EQ(f[1].label, "全て");
    EXPECT_EQ(f[1].pattern, "*.*");
    EXPECT_TRUE(parseFilter("").empty());
    const auto odd = parseFilter("CSV|*.csv|all");
    ASSERT_EQ(odd.size(), 2u);
    EXPECT_EQ(odd[1].pattern, "*.*");
    EXPECT_EQ(parseFilter("||").size(), 1u);
}

TEST(PlatformFiles, ExistenceCountsHiddenFilesButNotFolders) {
    TempDir dir;
    HeadlessPlatform p;
    touchFile(dir.path / "atarimgrp.txt");
    touchFile(dir.path / ".hidden");
    fs::create_symlink(dir.path / "atarimgrp.txt", dir.path / "link");
    fs::create_symlink(dir.path / "gone", dir.path / "dangling");
    EXPECT_TRUE(p.fileExists((dir.path / "atarimgrp.txt").string()));
    EXPECT_TRUE(p.fileExists((dir.path / ".hidden").string()));
    EXPECT_TRUE(p.fileExists((dir.path / "link").string()));
    EXPECT_FALSE(p.fileExists((dir.path / "dangling").string()));
    EXPECT_FALSE(p.fileExists(dir.path.string()));
    EXPECT_FALSE(p.fileExists((dir.path / "none").string()));
    EXPECT_FALSE(p.fileExists(""));
    EXPECT_FALSE(p.currentDirectory().empty());
    p.setHiddenAttribute((dir.path / "atarimgrp.txt").string());
    p.setNormalAttributes((dir.path / "atarimgrp.txt").string());
    EXPECT_TRUE(p.fileExists((dir.path / "atarimgrp.txt").string()));
}

TEST(PlatformFiles, DeleteTellsMissingFilesApart) {
    TempDir dir;
    HeadlessPlatform p;
    const auto f = (dir.path / "tmptxt.csv").string();
    touchFile(f);
    p.deleteFile(f);
    EXPECT_FALSE(fs::exists(f));
    auto code = [&](const std::string& path) {
        try {
            p.deleteFile(path);
        } catch (const AppError& e) {
            return e.code();
        }
        return 0;
    };
    EXPECT_EQ(code(f), kFileNotFound);
    EXPECT_EQ(code(""), kFileNotFound);
    EXPECT_EQ(code(dir.path.string()), kPathFileAccess);
    EXPECT_TRUE(fs::is_directory(dir.path));
    // Deleting a link removes the link, never the file it points to.
    touchFile(dir.path / "target");
    fs::create_symlink(dir.path / "target", dir.path / "link");
    p.deleteFile((dir.path / "link").string());
    EXPECT_TRUE(fs::exists(dir.path / "target"));
    if (::geteuid() != 0) {
        fs::create_directory(dir.path / "ro");
        touchFile(dir.path / "ro" / "f");
        fs::permissions(dir.path / "ro", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(code((dir.path / "ro" / "f").string()), kPermissionDenied);
    }
}

TEST(PlatformRandom, UniformRepeatableWithASeed) {
    HeadlessPlatform a, b;
    a.seed(42);
    b.seed(42);
    b.seedFromClock();   // a fixed seed keeps runs repeatable
    double sum = 0;
    int low = 0;
    std::set<double> seen;
    for (int i = 0; i < 20000; ++i) {
        const double x = a.random();
        ASSERT_EQ(x, b.random());
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
        sum += x;
        if (x < 0.1) ++low;
        seen.insert(x);
    }
    EXPECT_NEAR(sum / 20000, 0.5, 0.02);
    EXPECT_NEAR(low, 2000, 300);
    EXPECT_GT(seen.size(), 19990u);
    HeadlessPlatform z;
    z.seed(0);
    EXPECT_NE(z.random(), z.random());
    HeadlessPlatform c1, c2;
    c1.seedFromClock();
    ::usleep(1000);
    c2.seedFromClock();
    EXPECT_NE(c1.random(), c2.random());
}

TEST(HeadlessPlatform, AnswersAndRecordsMessages) {
    HeadlessPlatform p;
    p.printMessages = false;
    EXPECT_EQ(p.messageBox("a", Icon::None, Buttons::Ok), kOk);
    EXPECT_EQ(p.messageBox("b", Icon::Critical, Buttons::OkCancel), kOk);
    EXPECT_EQ(p.messageBox("c", Icon::Exclamation, Buttons::YesNoCancel), kYes);
    EXPECT_EQ(p.shownMessages, (std::vector<std::string>{"a", "b", "c"}));
    p.openAnswers = {"x.txt"};
    EXPECT_EQ(p.openFileDialog({}), std::optional<std::string>("x.txt"));
    EXPECT_EQ(p.openFileDialog({}), std::nullopt);
    EXPECT_EQ(p.saveFileDialog({}), std::nullopt);
    p.setClipboardText("1\r\n");
    EXPECT_EQ(p.clipboardText(), "1\r\n");
    p.clearClipboard();
    EXPECT_EQ(p.clipboardText(), "");
}
