// No file is destroyed: a save aimed at one of the data folder's own files
// is refused however the file is named, the atomic replace takes the place of
// nothing but an ordinary file, files in UTF-16 or UTF-32 are refused by every
// reader and never appended to, and the system's reasons are Japanese.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "combos/combo_files.h"
#include "config/env_file.h"
#include "history/add_draw.h"
#include "history/draw_history.h"
#include "history/import.h"
#include "history/payout_table.h"
#include "platform/data_files.h"
#include "platform/line_file.h"
#include "platform/system.h"
#include "support/cli_run.h"
#include "support/history_gen.h"
#include "support/os.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// The text of the AppError `f` throws ("" when it throws none).
template <class F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const AppError& e) {
        return e.text();
    }
    return "";
}

std::size_t entries(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(DataFiles, EveryNameOfADataFileIsRefusedAndNoOtherFile) {
    TempDir data, start, other;
    // The ledger does not exist yet; the other three do.
    for (const char* name : {"atarimgrp.txt", "Kazuban.ini", "atarikin.csv"}) data.write(name, "own\r\n");
    fs::create_directory(data.file("sub"));
    // Links are made where the system makes them for every user.
    const bool links = testing::kPosix;
    if (links) fs::create_directory_symlink(data.path(), other.file("linked"));
    const std::vector<fs::path> folders{start.path(), data.path()};
    auto refused = [&](const fs::path& target) {
        return errorOf([&] { platform::checkChosenTarget(target, folders); }) == platform::kDataFileRefusal;
    };
    for (const char* name : {"atarimgrp.txt", "Kazuban.ini", "atarikin.csv"}) {
        SCOPED_TRACE(name);
        const std::string link = std::string("link-") + name, hard = std::string("hard-") + name;
        EXPECT_TRUE(refused(data.file(name)));
        EXPECT_TRUE(refused(data.path() / "sub" / ".." / name));
        if (links) {
            fs::create_symlink(data.file(name), other.file(link));
            fs::create_hard_link(data.file(name), other.file(hard));
            EXPECT_TRUE(refused(other.file("linked") / name));
            EXPECT_TRUE(refused(other.file(link)));
            EXPECT_TRUE(refused(other.file(hard)));
        }
        // The same name elsewhere is another file.
        other.write(name, "theirs");
        EXPECT_FALSE(refused(other.file(name)));
        EXPECT_EQ(data.read(name), "own\r\n");
    }
    // A data file that does not exist yet is refused by its folder and name.
    EXPECT_TRUE(refused(data.file("kounyu.csv")));
    EXPECT_TRUE(refused(data.file("KOUNYU.CSV")));
    if (links) {
        EXPECT_TRUE(refused(other.file("linked") / "kounyu.csv"));
    }
    EXPECT_TRUE(refused(start.file("atarimgrp.txt")));
    EXPECT_FALSE(refused(other.file("kounyu.csv")));
    for (const char* name : {"combos.txt", "atarimgrp.txt.bak", "kounyu.csv.txt"})
        EXPECT_FALSE(refused(data.file(name)));
    data.write("combos.txt", "x");
    EXPECT_FALSE(refused(data.file("combos.txt")));
}

TEST(AtomicReplace, TakesThePlaceOfNothingButAnOrdinaryFile) {
    TempDir dir;
    const fs::path fifo = dir.file("fifo"), socket = dir.file("sock"), folder = dir.file("folder");
    fs::create_directory(folder);
    std::vector<fs::path> specials{folder};
    if (testing::makeNamedPipe(fifo)) specials.push_back(fifo);
    if (testing::makeSocketFile(socket)) specials.push_back(socket);
    if (testing::kPosix) {
        ASSERT_EQ(specials.size(), 3u);
        fs::create_symlink(fifo, dir.file("link-to-fifo"));
        specials.push_back(dir.file("link-to-fifo"));
    }
    const std::size_t before = entries(dir.path());
    for (const fs::path& p : specials) {
        SCOPED_TRACE(p.string());
        const auto type = fs::status(p).type();
        const std::string expected = "「" + text::utf8FromPath(p) + "」は通常のファイルではないため書き込めません。";
        EXPECT_EQ(errorOf([&] { platform::writeTextCp932(p, "x\r\n"); }), expected);
        EXPECT_EQ(errorOf([&] { platform::writeFilesAtomic({{dir.file("new.txt"), "n"}, {p, "x"}}); }), expected);
        // A writer of its own (the PDF printer) asks first.
        EXPECT_EQ(errorOf([&] { platform::checkChosenTarget(p, {}); }), expected);
        EXPECT_EQ(fs::status(p).type(), type);
        EXPECT_EQ(entries(dir.path()), before);  // no temporary file, no new.txt
    }
    EXPECT_EQ(errorOf([&] { platform::checkChosenTarget(dir.file("new.txt"), {}); }), "");
}

fs::path g_tempFolder;

TEST(AtomicReplace, ALinkStaysAndItsFileIsReplacedInItsOwnFolder) {
    if (!testing::kPosix) GTEST_SKIP() << "symbolic links of POSIX systems";
    TempDir links, files;
    files.write("t.txt", "old");
    fs::create_symlink(files.file("t.txt"), links.file("link.txt"));
    platform::setWriteFaultHook([](const fs::path& temp) { g_tempFolder = temp.parent_path(); });
    platform::writeFileAtomic(links.file("link.txt"), "via link");
    platform::setWriteFaultHook(nullptr);
    EXPECT_TRUE(fs::is_symlink(links.file("link.txt")));
    EXPECT_EQ(files.read("t.txt"), "via link");
    EXPECT_TRUE(fs::equivalent(g_tempFolder, files.path()));
}

TEST(SystemReasons, TheCommonOnesAreJapanese) {
#ifdef _WIN32
    const std::vector<std::pair<unsigned long, const char*>> common = {
        {5, "アクセス権がありません"},        // ERROR_ACCESS_DENIED
        {112, "ディスクの空きが足りません"},  // ERROR_DISK_FULL
        {39, "ディスクの空きが足りません"},   // ERROR_HANDLE_DISK_FULL
        {19, "読み取り専用です"},             // ERROR_WRITE_PROTECT
        {32, "他のプログラムが使用中です"},   // ERROR_SHARING_VIOLATION
        {33, "他のプログラムが使用中です"},   // ERROR_LOCK_VIOLATION
        {206, "パスが長すぎます"},            // ERROR_FILENAME_EXCED_RANGE
        {2, "見つかりません"},                // ERROR_FILE_NOT_FOUND
        {3, "見つかりません"},                // ERROR_PATH_NOT_FOUND
    };
#else
    const std::vector<std::pair<unsigned long, const char*>> common = {
        {EACCES, "アクセス権がありません"},
        {EPERM, "アクセス権がありません"},
        {ENOSPC, "ディスクの空きが足りません"},
        {EDQUOT, "ディスクの空きが足りません"},
        {EROFS, "読み取り専用です"},
        {ETXTBSY, "他のプログラムが使用中です"},
        {EBUSY, "他のプログラムが使用中です"},
        {ENAMETOOLONG, "パスが長すぎます"},
        {ENOENT, "見つかりません"},
    };
#endif
    for (const auto& [code, text] : common) EXPECT_EQ(platform::systemErrorReason(code), text) << code;
    // The rest keep the system's own words.
    EXPECT_FALSE(platform::systemErrorReason(testing::kPosix ? EIO : 1117).empty());

    // As the messages give them.
    TempDir dir;
    EXPECT_NE(errorOf([&] { platform::writeFileAtomic(dir.file("no") / "x.txt", "x"); }).find("（見つかりません）"),
              std::string::npos);
    if (testing::kPosix) {
        const std::string message = errorOf([&] { platform::writeFileAtomic(dir.file(std::string(300, 'a')), "x"); });
        EXPECT_NE(message.find("（パスが長すぎます）"), std::string::npos) << message;
    }
}

// ---- encodings --------------------------------------------------------------------

// UTF-8 text in UTF-16 or UTF-32 (units of 2 or 4 bytes), little- or big-endian, with or without a BOM.
std::string wide(const std::string& utf8, int unit, bool big, bool bom) {
    std::vector<char32_t> points;
    if (bom) points.push_back(0xFEFF);
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t v = n == 1 ? c : c & (0xFF >> (n + 1));
        for (int k = 1; k < n; ++k) v = (v << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        points.push_back(v);
        i += static_cast<std::size_t>(n);
    }
    std::string out;
    for (char32_t v : points) {
        for (int k = 0; k < unit; ++k) {
            const int shift = 8 * (big ? unit - 1 - k : k);
            out += static_cast<char>((v >> shift) & 0xFF);
        }
    }
    return out;
}

struct WideCase {
    int unit;
    bool big, bom;
};
const std::vector<WideCase> kWideCases = {{2, false, true}, {2, true, true}, {2, false, false}, {2, true, false},
                                          {4, false, true}, {4, true, true}, {4, false, false}, {4, true, false}};

std::string historyText() {
    std::string t = "回=本数字,ボーナス\r\n";
    for (int k = 1; k <= 30; ++k) t += "第" + std::to_string(k) + "回= 1, 2, 3, 4, 5, 6\r\n";
    return t;
}

TEST(WideText, UnitsOfTwoOrFourAreToldFromCp932AndUtf8) {
    const std::string sample = historyText();
    for (const WideCase& c : kWideCases) {
        const std::string bytes = wide(sample, c.unit, c.big, c.bom);
        const auto expected = c.unit == 2 ? text::WideText::Utf16 : text::WideText::Utf32;
        EXPECT_EQ(text::wideTextOf(bytes), expected) << c.unit << c.big << c.bom;
        EXPECT_EQ(text::wideTextOf(wide(" 1, 2, 3, 4, 5\r\n", c.unit, c.big, c.bom)), expected);
    }
    EXPECT_EQ(text::wideTextReason(text::WideText::Utf16),
              "UTF-16 のファイルは読めません。Shift_JIS（cp932）か UTF-8 で保存して下さい。");
    const std::string cp932 = platform::encodeCp932(sample);
    for (const std::string& plain :
         {sample, "\xEF\xBB\xBF" + sample, cp932, cp932.substr(0, 40) + std::string(1, '\0') + cp932.substr(40),
          std::string(), std::string(1, '\0'), std::string("\xFF")})
        EXPECT_EQ(text::wideTextOf(plain), text::WideText::None) << plain;
}

TEST(WideText, EveryReaderRefusesItAndNoDrawIsAppended) {
    for (const WideCase& c : kWideCases) {
        SCOPED_TRACE(std::to_string(c.unit) + (c.big ? " BE" : " LE") + (c.bom ? " BOM" : ""));
        const std::string reason = text::wideTextReason(c.unit == 2 ? text::WideText::Utf16 : text::WideText::Utf32);
        TempDir dir;
        const std::string history = wide(historyText(), c.unit, c.big, c.bom);
        const fs::path file = dir.write("atarimgrp.txt", history);
        auto names = [&](const std::string& message, const std::string& name) {
            return message.find(name) != std::string::npos && message.ends_with(reason);
        };
        EXPECT_TRUE(names(errorOf([&] { history::readWinningNumbers(file); }), "atarimgrp.txt"));
        EXPECT_TRUE(names(errorOf([&] { platform::readLines(file); }), "atarimgrp.txt"));
        EXPECT_TRUE(names(errorOf([&] { history::appendDraw(file, {1, 2, 3, 4, 5, 6}); }), "atarimgrp.txt"));
        EXPECT_TRUE(names(errorOf([&] { history::planEntry(file, 31, {1, 2, 3, 4, 5, 6}, {}); }), "atarimgrp.txt"));
        EXPECT_TRUE(names(errorOf([&] { history::planImport(file, {}); }), "atarimgrp.txt"));
        EXPECT_EQ(dir.read("atarimgrp.txt"), history);

        const std::string ascii = " 1, 2, 3, 4, 5\r\n 6, 7, 8, 9,10\r\n";
        EXPECT_TRUE(
            names(errorOf([&] { combos::readCombinationFile(dir.write("c.txt", wide(ascii, c.unit, c.big, c.bom))); }),
                  "c.txt"));
        EXPECT_TRUE(names(errorOf([&] {
                              config::readEnvironmentFile(dir.write("Kazuban.ini", wide(ascii, c.unit, c.big, c.bom)),
                                                          config::ReadRule::StartUp);
                          }),
                          "Kazuban.ini"));
        EXPECT_EQ(errorOf(
                      [&] { history::readPayoutTable(dir.write("atarikin.csv", wide(ascii, c.unit, c.big, c.bom))); }),
                  "atarikin.csv の 1 行目： " + reason);
        // A results file to import: refused at its first line.
        testing::writeSyntheticHistory(dir, 5, 3);
        dir.write("atarikin.csv", platform::encodeCp932(std::string(history::kPayoutHeader) + "\r\n"));
        const history::ImportPlan plan =
            history::planImport(dir.file("atarimgrp.txt"),
                                {{"r.csv",
                                  wide("draw,date,n1,n2,n3,n4,n5,bonus\n6,,1,2,3,4,5,6\n", c.unit, c.big, c.bom)}});
        ASSERT_EQ(plan.problems.size(), 1u);
        EXPECT_EQ(history::problemText(plan.problems[0]), "r.csv の 1 行目： " + reason);
    }
}

TEST(WideText, ADrawIsAppendedOnlyToAFileReadAsCp932OrUtf8) {
    TempDir dir;
    for (const std::string& header : {std::string("回=本数字,ボーナス"), std::string("\xEF\xBB\xBF") + "回=本数字"}) {
        dir.write("atarimgrp.txt", header + "\r\n第1回= 1, 2, 3, 4, 5, 6\r\n");
        EXPECT_EQ(history::appendDraw(dir.file("atarimgrp.txt"), {7, 8, 9, 10, 11, 12}).drawNumber, 2);
    }
    dir.write("atarimgrp.txt", platform::encodeCp932("回=本数字\r\n第1回= 1, 2, 3, 4, 5, 6\r\n"));
    EXPECT_EQ(history::appendDraw(dir.file("atarimgrp.txt"), {7, 8, 9, 10, 11, 12}).drawNumber, 2);
    // Neither: the loader still shows its draws, but nothing is appended.
    const std::string neither = "\xFF\xFF\xFE=x\r\n1= 1, 2, 3, 4, 5, 6\r\n";
    const fs::path file = dir.write("atarimgrp.txt", neither);
    EXPECT_EQ(history::readWinningNumbers(file).history.maxn(), 1);
    EXPECT_EQ(errorOf([&] {
                  history::appendDraw(file, {7, 8, 9, 10, 11, 12});
              }),
              "atarimgrp.txt の文字コードが UTF-8 でもシフトJIS(cp932)でもないため、追加できません。");
    EXPECT_EQ(dir.read("atarimgrp.txt"), neither);
}

// ---- the command line -----------------------------------------------------------------

TEST(CliTargets, DataFilesAndSpecialFilesAreRefusedWithTheirOwnMessage) {
    TempDir data, scratch;
    testing::writeSyntheticHistory(data, 40, 7);
    data.writeLines("combos.txt", {" 1, 2, 3, 4, 5"});
    const std::string history = data.read("atarimgrp.txt");
    std::vector<std::string> targets{"atarimgrp.txt", data.file("Kazuban.ini").string(), "kounyu.csv"};
    if (testing::kPosix) {
        fs::create_hard_link(data.file("atarimgrp.txt"), scratch.file("alias.txt"));
        targets.push_back(scratch.file("alias.txt").string());
    }
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        testing::CliRun r = testing::runCli(scratch, data.str(), "check combos.txt -o '" + target + "'");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, std::string(platform::kDataFileRefusal) + "\n");
        r = testing::runCli(scratch, data.str(),
                            "design --guarantee --numbers 3,5,8,13,21,30,31 --save '" + target + "'");
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(platform::kDataFileRefusal), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(data.read("atarimgrp.txt"), history);
    EXPECT_FALSE(data.exists("kounyu.csv"));
    EXPECT_FALSE(data.exists("Kazuban.ini"));
    // Another file of the data folder is written.
    EXPECT_EQ(testing::runCli(scratch, data.str(), "check combos.txt -o out.txt").status, 0);
    EXPECT_TRUE(data.exists("out.txt"));

    if (!testing::makeNamedPipe(scratch.file("fifo"))) GTEST_SKIP() << "no named pipes here";
    const testing::CliRun r = testing::runCli(scratch, data.str(), "check combos.txt -o '" + scratch.str() + "/fifo'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("は通常のファイルではないため書き込めません。"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_fifo(scratch.file("fifo")));
}

}  // namespace
}  // namespace kazuban
