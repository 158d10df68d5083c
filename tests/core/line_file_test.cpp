#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "text/app_error.h"
#include "text/line_file.h"

namespace fs = std::filesystem;
using namespace kazuban;
using namespace kazuban::text;

namespace {

class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "kazuban-lf-XXXXXX").string();
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

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void spit(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

std::size_t entries(const fs::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
    return n;
}

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

}  // namespace

TEST(Cp932, RoundTripsJapaneseTexts) {
    const std::string texts[] = {
        "ﾃｷｽﾄ(*.txt)", "組合せデータ", "全角１２３　スペース", "当選番号直前分析",
        "a\\b~c", "ﾌﾞﾗｳｻﾞｰの登録場所を確認・再登録して下さい", "①②Ⅰ㈱",
    };
    for (const auto& t : texts) EXPECT_EQ(decodeCp932(encodeCp932(t)), t) << t;
    // Known byte forms: half-width katakana is one byte, kana two, ASCII as is.
    EXPECT_EQ(encodeCp932("ﾃ"), "\xC3");
    EXPECT_EQ(encodeCp932("あ"), "\x82\xA0");
    EXPECT_EQ(encodeCp932("\\~"), "\\~");
    EXPECT_EQ(decodeCp932("\x82\xA0\xB1"), "あｱ");
}

TEST(Cp932, EncodeNamesTheCharacterItCannotHold) {
    try {
        encodeCp932("abc😀def");
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.code(), kInvalidCall);
        EXPECT_NE(e.text().find("「😀」"), std::string::npos) << e.text();
    }
    EXPECT_EQ(codeOf([] { encodeCp932("é"); }), kInvalidCall);
    EXPECT_EQ(codeOf([] { encodeCp932("ok\xFF"); }), kInvalidCall);   // not UTF-8 at all
    // Common look-alikes from other systems are saved as their cp932 forms.
    EXPECT_EQ(encodeCp932("〜"), "\x81\x60");
    EXPECT_EQ(encodeCp932("−"), "\x81\x7C");
}

TEST(Cp932, DecodeReplacesBytesItCannotRead) {
    EXPECT_EQ(decodeCp932("\x82"), "\xEF\xBF\xBD");                   // cut-off lead byte
    EXPECT_EQ(decodeCp932("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(decodeCp932("\x82\xA0\xFF\x82\xA0"), "あ\xEF\xBF\xBDあ");
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 37) & 0xFF));
    EXPECT_TRUE(isValidUtf8(decodeCp932(junk)));
}

TEST(FileText, Utf8OrCp932ByContent) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("あ"));
    EXPECT_FALSE(isValidUtf8("\x82\xA0"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE3\x81"));          // cut off
    EXPECT_EQ(decodeFileBytes("\xEF\xBB\xBF" "あ,1"), "あ,1");
    EXPECT_EQ(decodeFileBytes("あ,1"), "あ,1");
    EXPECT_EQ(decodeFileBytes("\x82\xA0,1"), "あ,1");
    EXPECT_EQ(decodeFileBytes("\xB1\xC0\xD8"), "ｱﾀﾘ");
    // A BOM followed by broken bytes still gives valid text.
    EXPECT_TRUE(isValidUtf8(decodeFileBytes("\xEF\xBB\xBF\xFF" "a")));
    EXPECT_EQ(decodeFileBytes(""), "");
}

TEST(FileText, SplitLinesAtEveryLineEnd) {
    using V = std::vector<std::string>;
    EXPECT_EQ(splitLines(""), V{});
    EXPECT_EQ(splitLines("\r\n"), V{""});
    EXPECT_EQ(splitLines("a"), V{"a"});
    EXPECT_EQ(splitLines("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(splitLines("a\r\nb"), (V{"a", "b"}));
    EXPECT_EQ(splitLines("a\nb\rc\r\nd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\n\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\r\rb"), (V{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\n\r"), (V{"a", ""}));       // LF then a lone CR
    EXPECT_EQ(splitLines("\r\n\r\n"), (V{"", ""}));
}

TEST(LineFile, ReadsCp932AndUtf8Files) {
    TempDir dir;
    spit(dir.path / "sjis.txt", "\x91\xE6\x31\x89\xF1=\x20\x31,2\r\n2\r\n");   // 第1回= 1,2
    spit(dir.path / "utf8.txt", "\xEF\xBB\xBF第1回= 1,2\n2");
    spit(dir.path / "empty.txt", "");
    EXPECT_EQ(readLines(dir.path / "sjis.txt"), (std::vector<std::string>{"第1回= 1,2", "2"}));
    EXPECT_EQ(readLines(dir.path / "utf8.txt"), (std::vector<std::string>{"第1回= 1,2", "2"}));
    EXPECT_TRUE(readLines(dir.path / "empty.txt").empty());
}

TEST(LineFile, ReadErrorsTellTheirKind) {
    TempDir dir;
    try {
        readFileBytes(dir.path / "missing.txt");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.code(), kFileNotFound);
        EXPECT_NE(e.text().find("ファイルが見つかりません。"), std::string::npos);
        EXPECT_NE(e.text().find("missing.txt"), std::string::npos);
    }
    EXPECT_EQ(codeOf([&] { readFileBytes(dir.path); }), kPathFileAccess);
    EXPECT_EQ(codeOf([&] { readFileBytes(dir.path / "no" / "file.txt"); }), kFileNotFound);
    // A pipe or a device is refused at once instead of blocking or never ending.
    ASSERT_EQ(::mkfifo((dir.path / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(codeOf([&] { readFileBytes(dir.path / "fifo"); }), kPathFileAccess);
    EXPECT_EQ(codeOf([] { readFileBytes("/dev/zero"); }), kPathFileAccess);
    if (::geteuid() != 0) {
        spit(dir.path / "locked.txt", "x");
        fs::permissions(dir.path / "locked.txt", fs::perms::none);
        EXPECT_EQ(codeOf([&] { readFileBytes(dir.path / "locked.txt"); }), kPermissionDenied);
    }
}

TEST(LineFile, WritesCp932WithCrLf) {
    TempDir dir;
    const fs::path p = dir.path / "combos.txt";
    writeLinesCp932(p, {" 1, 2, 3, 4, 5", "ﾃｷｽﾄ", ""});
    EXPECT_EQ(slurp(p), " 1, 2, 3, 4, 5\r\n\xC3\xB7\xBD\xC4\r\n\r\n");
    writeLinesCp932(p, {});
    EXPECT_EQ(slurp(p), "");
    writeTextCp932(p, "あ");
    EXPECT_EQ(slurp(p), "\x82\xA0");
    EXPECT_EQ(entries(dir.path), 1u);
}

TEST(LineFile, UnencodableTextLeavesTheOldFile) {
    TempDir dir;
    const fs::path p = dir.path / "out.txt";
    spit(p, "old");
    EXPECT_EQ(codeOf([&] { writeLinesCp932(p, {"ok", "bad 😀"}); }), kInvalidCall);
    EXPECT_EQ(slurp(p), "old");
    EXPECT_EQ(codeOf([&] { writeTextCp932(dir.path / "new.txt", "é"); }), kInvalidCall);
    EXPECT_FALSE(fs::exists(dir.path / "new.txt"));
    EXPECT_EQ(entries(dir.path), 1u);
}

TEST(LineFile, FailedWriteKeepsOldFileAndLeavesNoTemporary) {
    TempDir dir;
    const fs::path p = dir.path / "Kazuban.ini";
    spit(p, "old contents");
    {
        HookGuard hook([](const fs::path& temp) {
            // The temporary holds the complete new bytes beside the target.
            EXPECT_EQ(slurp(temp), "new");
            throw AppError(kPathFileAccess, "disk full");
        });
        EXPECT_EQ(codeOf([&] { writeFileAtomic(p, "new"); }), kPathFileAccess);
    }
    EXPECT_EQ(slurp(p), "old contents");
    EXPECT_EQ(entries(dir.path), 1u);
    {
        HookGuard hook([](const fs::path&) { throw std::runtime_error("other"); });
        EXPECT_THROW(writeFileAtomic(p, "new"), std::runtime_error);
    }
    EXPECT_EQ(entries(dir.path), 1u);
    writeFileAtomic(p, "new");
    EXPECT_EQ(slurp(p), "new");
    EXPECT_EQ(entries(dir.path), 1u);
}

TEST(LineFile, WriteErrorsTellTheirKind) {
    TempDir dir;
    try {
        writeFileAtomic(dir.path / "nofolder" / "x.txt", "x");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.code(), kPathNotFound);
        EXPECT_NE(e.text().find("nofolder"), std::string::npos);
    }
    fs::create_directory(dir.path / "sub");
    EXPECT_EQ(codeOf([&] { writeFileAtomic(dir.path / "sub", "x"); }), kPathFileAccess);
    EXPECT_TRUE(fs::is_directory(dir.path / "sub"));
    EXPECT_EQ(codeOf([&] { writeFileAtomic("", "x"); }), kPathNotFound);
    if (::geteuid() != 0) {
        fs::create_directory(dir.path / "ro");
        spit(dir.path / "ro" / "f.txt", "old");
        fs::permissions(dir.path / "ro", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(codeOf([&] { writeFileAtomic(dir.path / "ro" / "f.txt", "new"); }), kPermissionDenied);
        EXPECT_EQ(slurp(dir.path / "ro" / "f.txt"), "old");
    }
    EXPECT_EQ(entries(dir.path), 1u + (::geteuid() != 0 ? 1u : 0u));
}

TEST(LineFile, WriteKeepsPermissionsAndFollowsLinks) {
    TempDir dir;
    const fs::path p = dir.path / "t.txt";
    spit(p, "old");
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    writeFileAtomic(p, "new");
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(p, dir.path / "link.txt");
    writeFileAtomic(dir.path / "link.txt", "via link");
    EXPECT_TRUE(fs::is_symlink(dir.path / "link.txt"));
    EXPECT_EQ(slurp(p), "via link");
    // A relative name writes into the current folder.
    const auto cwd = fs::current_path();
    fs::current_path(dir.path);
    writeFileAtomic("rel.txt", "r");
    fs::current_path(cwd);
    EXPECT_EQ(slurp(dir.path / "rel.txt"), "r");
}
