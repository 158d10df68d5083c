#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/line_file.h"
#include "support/history_gen.h"
#include "support/os.h"
#include "text/app_error.h"

namespace fs = std::filesystem;
using namespace kazuban;
using namespace kazuban::text;
using namespace kazuban::platform;

namespace {

struct TempDir {
    TempDir() : path(store.path()) {}
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path, ec);
    }
    std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(path), {})); }
    kazuban::testing::TempDir store;
    fs::path path;
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void spit(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

int codeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const AppError& e) {
        return e.code();
    }
    return 0;
}

struct HookGuard {
    explicit HookGuard(WriteFaultHook h) { setWriteFaultHook(h); }
    ~HookGuard() { setWriteFaultHook(nullptr); }
};

// The steps of atomic writes, one letter each: Written, Synced, Renamed, Folder synced.
std::string g_steps;

struct StepRecorder {
    StepRecorder() {
        g_steps.clear();
        setWriteStepRecorder([](WriteStep s) { g_steps += "WSRF"[static_cast<int>(s)]; });
    }
    ~StepRecorder() { setWriteStepRecorder(nullptr); }
};

}  // namespace

TEST(Cp932, RoundTripsAndRefusesWhatItCannotHold) {
    for (const std::string t : {"ﾃｷｽﾄ(*.txt)", "組合せデータ", "全角１２３　", "a\\b~c", "①②Ⅰ㈱"})
        EXPECT_EQ(decodeCp932(encodeCp932(t)), t) << t;
    EXPECT_EQ(encodeCp932("ﾃあ\\~"), "\xC3\x82\xA0\\~");
    EXPECT_EQ(encodeCp932("〜−"), "\x81\x60\x81\x7C");  // look-alikes from other systems
    try {
        encodeCp932("abc😀def");
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.code(), kInvalidCall);
        EXPECT_NE(e.text().find("「😀」"), std::string::npos) << e.text();
    }
    EXPECT_EQ(codeOf([] { encodeCp932("ok\xFF"); }), kInvalidCall);
}

TEST(Cp932, DecodeReplacesBytesItCannotRead) {
    EXPECT_EQ(decodeCp932("\x82"), "\xEF\xBF\xBD");  // cut-off lead byte
    EXPECT_EQ(decodeCp932("\x82\xA0\xFF\x82\xA0"), "あ\xEF\xBF\xBDあ");
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 37) & 0xFF));
    EXPECT_TRUE(isValidUtf8(decodeCp932(junk)));
}

// The whole cp932 table as this system converts it, folded into one number:
// every byte and byte pair decoded, every character of the basic plane
// encoded (U+FFFD stands for a byte that is no character, "-" for a
// character cp932 lacks). iconv on Linux and code page 932 on Windows must
// agree on all of it, so saved files are the same bytes on both.
std::uint64_t fold(std::uint64_t h, std::string_view s) {
    for (unsigned char c : s) h = (h ^ c) * 0x100000001B3ull;
    return (h ^ 0xFF) * 0x100000001B3ull;
}

TEST(Cp932, EverySystemConvertsTheWholeTableAlike) {
    std::uint64_t decoded = 0xCBF29CE484222325ull;
    std::string dump;
    const bool dumping = std::getenv("KAZUBAN_CP932_DUMP") != nullptr;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string bytes(1, static_cast<char>(b));
        const std::string text = decodeCp932(bytes);
        decoded = fold(decoded, text);
        if (dumping) dump += std::to_string(b) + " " + text + "\n";
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = decodeCp932(bytes);
            decoded = fold(decoded, text);
            if (dumping) dump += std::to_string(lead * 256 + trail) + " " + text + "\n";
        }
    }
    std::uint64_t encoded = 0xCBF29CE484222325ull;
    for (std::uint32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        std::string ch;
        if (c < 0x800) {
            ch = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            ch = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                  static_cast<char>(0x80 | (c & 0x3F))};
        }
        std::string bytes;
        try {
            bytes = encodeCp932(ch);
        } catch (const AppError&) {
            bytes = "-";
        }
        encoded = fold(encoded, bytes);
        if (dumping && bytes != "-") dump += "U+" + std::to_string(c) + " " + bytes + "\n";
    }
    if (dumping) spit(std::getenv("KAZUBAN_CP932_DUMP"), dump);
    EXPECT_EQ(decoded, 0x94B28E68C56614B4ull);
    EXPECT_EQ(encoded, 0xD3759EC73C920871ull);
}

TEST(FileText, Utf8OrCp932ByContent) {
    for (const char* bad : {"\x82\xA0", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE3\x81"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
    // Overlong forms of "/" and a surrogate are no UTF-8: the bytes read as
    // cp932, or as U+FFFD each after a BOM, never as the character they mimic.
    for (const std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF", "\xED\xA0\x80"}) {
        EXPECT_EQ(decodeFileBytes(bad), decodeCp932(bad)) << bad;
        std::string replaced;
        for (std::size_t i = 0; i < bad.size(); ++i) replaced += "\xEF\xBF\xBD";
        EXPECT_EQ(decodeFileBytes("\xEF\xBB\xBF" + bad), replaced) << bad;
    }
    EXPECT_EQ(decodeFileBytes("\xEF\xBB\xBF"
                              "あ,1"),
              "あ,1");
    EXPECT_EQ(decodeFileBytes("あ,1"), "あ,1");
    EXPECT_EQ(decodeFileBytes("\x82\xA0,1"), "あ,1");
    EXPECT_EQ(decodeFileBytes("\xB1\xC0\xD8"), "ｱﾀﾘ");
    EXPECT_TRUE(
        isValidUtf8(decodeFileBytes("\xEF\xBB\xBF\xFF"
                                    "a")));
}

TEST(FileText, SplitLinesAtEveryLineEnd) {
    using V = std::vector<std::string>;
    EXPECT_EQ(splitLines(""), V{});
    EXPECT_EQ(splitLines("\r\n"), V{""});
    EXPECT_EQ(splitLines("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(splitLines("a\r\nb"), (V{"a", "b"}));
    EXPECT_EQ(splitLines("a\nb\rc\r\nd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\rb\n\n"), (V{"a", "", "b", ""}));
    EXPECT_EQ(splitLines("a\n\r"), (V{"a", ""}));
}

TEST(LineFile, ReadsFilesAndTellsErrorsApart) {
    TempDir dir;
    spit(dir.path / "sjis.txt", "\x91\xE6\x31\x89\xF1= 1,2\r\n2\r\n");  // 第1回= 1,2
    spit(dir.path / "utf8.txt", "\xEF\xBB\xBF第1回= 1,2\n2");
    EXPECT_EQ(readLines(dir.path / "sjis.txt"), (std::vector<std::string>{"第1回= 1,2", "2"}));
    EXPECT_EQ(readLines(dir.path / "utf8.txt"), (std::vector<std::string>{"第1回= 1,2", "2"}));
    try {
        readFileBytes(dir.path / "missing.txt");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.code(), kFileNotFound);
        EXPECT_NE(e.text().find("missing.txt"), std::string::npos);
    }
    EXPECT_EQ(codeOf([&] { readFileBytes(dir.path); }), kPathFileAccess);
    // A pipe or a device is refused at once instead of blocking or never ending.
    if (kazuban::testing::kPosix) {
        ASSERT_TRUE(kazuban::testing::makeNamedPipe(dir.path / "fifo"));
        EXPECT_EQ(codeOf([&] { readFileBytes(dir.path / "fifo"); }), kPathFileAccess);
        EXPECT_EQ(codeOf([] { readFileBytes("/dev/zero"); }), kPathFileAccess);
        // A file the kernel makes up as it is read (/proc/kmsg would block).
        if (fs::exists("/proc/self/status")) {
            try {
                readFirstLines("/proc/self/status", 10);
                ADD_FAILURE();
            } catch (const AppError& e) {
                EXPECT_EQ(e.text(), "「/proc/self/status」は通常のファイルではないため読み込めません。");
            }
        }
    }
    if (kazuban::testing::rightsBindThisUser()) {
        fs::permissions(dir.path / "sjis.txt", fs::perms::none);
        EXPECT_EQ(codeOf([&] { readFileBytes(dir.path / "sjis.txt"); }), kPermissionDenied);
    }
}

TEST(LineFile, WritesCp932WithCrLfAndNothingWhenEncodingFails) {
    TempDir dir;
    const fs::path p = dir.path / "combos.txt";
    writeLinesCp932(p, {" 1, 2, 3, 4, 5", "ﾃｷｽﾄ", ""});
    EXPECT_EQ(slurp(p), " 1, 2, 3, 4, 5\r\n\xC3\xB7\xBD\xC4\r\n\r\n");
    EXPECT_EQ(codeOf([&] { writeLinesCp932(p, {"ok", "bad 😀"}); }), kInvalidCall);
    EXPECT_EQ(slurp(p), " 1, 2, 3, 4, 5\r\n\xC3\xB7\xBD\xC4\r\n\r\n");
    EXPECT_EQ(codeOf([&] { writeTextCp932(dir.path / "new.txt", "é"); }), kInvalidCall);
    EXPECT_EQ(dir.entries(), 1u);
}

// A crash right after the rename must find the new bytes on the disk.
TEST(LineFile, TheNewFileIsSyncedBeforeTheRename) {
    TempDir dir;
    spit(dir.path / "Kazuban.ini", "old");
    StepRecorder recorder;
    writeFileAtomic(dir.path / "Kazuban.ini", "new");
    EXPECT_EQ(g_steps, kazuban::testing::kPosix ? "WSRF" : "WSR");
}

TEST(LineFile, FailedWriteKeepsOldFileAndLeavesNoTemporary) {
    TempDir dir;
    const fs::path p = dir.path / "Kazuban.ini";
    spit(p, "old contents");
    {
        HookGuard hook([](const fs::path& temp) {
            EXPECT_EQ(slurp(temp), "new");  // complete new bytes beside the target
            throw AppError(kPathFileAccess, "disk full");
        });
        EXPECT_EQ(codeOf([&] { writeFileAtomic(p, "new"); }), kPathFileAccess);
    }
    {
        HookGuard hook([](const fs::path&) { throw std::runtime_error("other"); });
        EXPECT_THROW(writeFileAtomic(p, "new"), std::runtime_error);
    }
    EXPECT_EQ(slurp(p), "old contents");
    EXPECT_EQ(dir.entries(), 1u);
    writeFileAtomic(p, "new");
    EXPECT_EQ(slurp(p), "new");
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(LineFile, WriteErrorsTellTheirKind) {
    TempDir dir;
    EXPECT_EQ(codeOf([&] { writeFileAtomic(dir.path / "nofolder" / "x.txt", "x"); }), kPathNotFound);
    EXPECT_EQ(codeOf([&] { writeFileAtomic(dir.path, "x"); }), kPathFileAccess);
    EXPECT_EQ(codeOf([&] { writeFileAtomic("", "x"); }), kPathNotFound);
    if (kazuban::testing::rightsBindThisUser()) {
        fs::create_directory(dir.path / "ro");
        spit(dir.path / "ro" / "f.txt", "old");
        fs::permissions(dir.path / "ro", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(codeOf([&] { writeFileAtomic(dir.path / "ro" / "f.txt", "new"); }), kPermissionDenied);
        EXPECT_EQ(slurp(dir.path / "ro" / "f.txt"), "old");
    }
}

TEST(LineFile, WriteKeepsPermissionsAndFollowsLinks) {
    if (!kazuban::testing::kPosix) GTEST_SKIP() << "permission bits and links of POSIX systems";
    TempDir dir;
    const fs::path p = dir.path / "t.txt";
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    spit(p, "old");
    fs::permissions(p, mode);
    writeFileAtomic(p, "new");
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, mode);
    fs::create_symlink(p, dir.path / "link.txt");
    writeFileAtomic(dir.path / "link.txt", "via link");
    EXPECT_TRUE(fs::is_symlink(dir.path / "link.txt"));
    EXPECT_EQ(slurp(p), "via link");
}
