#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/headless_platform.h"
#include "support/history_gen.h"
#include "support/os.h"
#include "text/app_error.h"

namespace fs = std::filesystem;
using namespace kazuban;
using namespace kazuban::platform;

TEST(FileFilter, ParsesLabelPatternPairs) {
    const auto f = parseFilter("ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].label + f[0].pattern + f[1].label + f[1].pattern, "ﾃｷｽﾄ(*.txt)*.txt全て*.*");
    EXPECT_TRUE(parseFilter("").empty());
    const auto odd = parseFilter("CSV|*.csv|all");
    ASSERT_EQ(odd.size(), 2u);
    EXPECT_EQ(odd[1].pattern, "*.*");
}

TEST(PlatformFiles, ExistenceAndDeletion) {
    kazuban::testing::TempDir temp;
    const fs::path dir = temp.path();
    HeadlessPlatform p;
    for (const char* name : {"atarimgrp.txt", ".hidden", "target"}) std::ofstream(dir / name) << "x";
    const bool links = kazuban::testing::kPosix;  // links need extra rights on Windows
    if (links) {
        fs::create_symlink(dir / "target", dir / "link");
        fs::create_symlink(dir / "gone", dir / "dangling");
    }
    auto exists = [&](const fs::path& f) { return p.fileExists(f.string()); };
    EXPECT_TRUE(exists(dir / "atarimgrp.txt"));
    EXPECT_TRUE(exists(dir / ".hidden"));  // hidden files count
    EXPECT_EQ(exists(dir / "link"), links);
    EXPECT_FALSE(exists(dir / "dangling"));
    EXPECT_FALSE(exists(dir));  // a folder is not a file
    EXPECT_FALSE(exists(""));
    auto code = [&](const fs::path& f) -> int {
        try {
            p.deleteFile(f.string());
        } catch (const AppError& e) {
            return e.code();
        }
        return 0;
    };
    EXPECT_EQ(code(dir / "atarimgrp.txt"), 0);
    EXPECT_EQ(code(dir / "atarimgrp.txt"), kFileNotFound);
    EXPECT_EQ(code(""), kFileNotFound);
    EXPECT_EQ(code(dir), kPathFileAccess);
    if (links) {
        EXPECT_EQ(code(dir / "link"), 0);  // the link goes, its target stays
    }
    EXPECT_TRUE(fs::exists(dir / "target"));
}

TEST(PlatformRandom, UniformAndRepeatableWithASeed) {
    HeadlessPlatform a, b;
    a.seed(42);
    b.seed(42);
    b.seedFromClock();  // a fixed seed keeps runs repeatable
    double sum = 0;
    int low = 0;
    for (int i = 0; i < 20000; ++i) {
        const double x = a.random();
        ASSERT_EQ(x, b.random());
        ASSERT_TRUE(x >= 0.0 && x < 1.0) << x;
        sum += x;
        low += x < 0.1;
    }
    EXPECT_NEAR(sum / 20000, 0.5, 0.02);
    EXPECT_NEAR(low, 2000, 300);
    HeadlessPlatform c1, c2;
    c1.seedFromClock();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    c2.seedFromClock();
    EXPECT_NE(c1.random(), c2.random());
}
