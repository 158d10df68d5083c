// Every file the program writes, against a failing disk: a full disk, a
// read-only folder, a folder in the file's place, a file replaced by another
// program while the new one is written. Each time the user gets a clear
// message, the file that was there stays byte for byte, no temporary file is
// left behind, and the program goes on with its data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/form1.h"
#include "config/dialog.h"
#include "config/env_file.h"
#include "platform/line_file.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "support/os.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::app {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr const char* kProblemsPrefix = "atarimgrp.txt に正しくない当選番号の行があります。";
constexpr const char* kOtherProgram = "written by another program\r\n";

// The first message box whose text starts with `stumbleOn` throws, so that a
// start-up step fails once and the start-up error handler runs.
class StumblingPlatform : public testing::FakePlatform {
public:
    std::string stumbleOn;
    int messageBox(const std::string& text, platform::Icon icon, platform::Buttons buttons) override {
        if (!stumbleOn.empty() && text.starts_with(stumbleOn)) {
            stumbleOn.clear();
            throw AppError(kInvalidCall, "一度だけの障害です。");
        }
        return FakePlatform::messageBox(text, icon, buttons);
    }
};

void writeBytes(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Names and contents of everything under a folder.
std::set<std::string> folderState(const fs::path& folder) {
    std::set<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(e.path(), folder).string();
        out.insert(e.is_regular_file() ? name + "=" + readBytes(e.path()) : name + "/");
    }
    return out;
}

std::vector<std::string> allCells(const grid::TextGrid& g) {
    std::vector<std::string> out;
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c) out.push_back(g.cell(r, c));
    return out;
}

// A data folder with 60 draws (one of them malformed, so that start-up shows
// a message a test can make fail), an environment file with the default
// links, and a running program with three evaluated combinations and every
// view built.
struct Session {
    explicit Session(fs::path dir) : folder(std::move(dir)) {
        auto lines = testing::syntheticHistoryLines(60, 11);
        lines[30] = "第30回=bad line";
        platform::writeLinesCp932(folder / "atarimgrp.txt", lines);
        const config::Links defaults = config::defaultLinks();
        const std::vector<std::string> links(defaults.begin(), defaults.end());
        platform::writeLinesCp932(folder / "Kazuban.ini", testing::environmentLines(links, "", folder.string()));
        start();
        f->combinationTable().setCell(1, 1, " 1, 2, 3, 4, 5");
        f->combinationTable().setCell(2, 1, " 3, 9,14,22,30");
        f->combinationTable().setCell(5, 1, "10,11,12,13,14");
        f->Command5_Click();
        for (int tab : {kTabTotals, kTabPredraw, kTabWins}) {
            f->SSTab1_Click(tab);
        }
    }
    void start() {
        f = std::make_unique<Form1>(fake);
        started = f->Form_Load(folder.string());
    }
    fs::path folder;
    StumblingPlatform fake;
    std::unique_ptr<Form1> f;
    bool started = false;
};

struct Writer {
    const char* name;
    std::string target;  // file name in the data folder
    bool startUp;        // writes while the program starts
    std::function<void(Session&)> run;
};

std::vector<Writer> writers() {
    auto saveTo = [](const char* name) {
        return [name](Session& s) { s.fake.saveAnswers.push_back((s.folder / name).string()); };
    };
    return {
        {"tab-3 save", "Kazuban.ini", false, [](Session& s) { s.f->Command2_Click(); }},
        {"settings OK", "Kazuban.ini", false,
         [](Session& s) {
             config::Dialog d(s.fake);
             d.Form_Load(text::utf8FromPath(s.f->state().startdir));
             d.OKButton_Click(s.f->links().controls().Text1);
         }},
        {"start-up repair", "Kazuban.ini", true,
         [](Session& s) {
             s.fake.stumbleOn = kProblemsPrefix;
             s.start();
         }},
        {"combination file", "combos.txt", false,
         [saveTo](Session& s) {
             saveTo("combos.txt")(s);
             s.f->mnudsave_Click();
         }},
        {"CSV save", "table.csv", false,
         [saveTo](Session& s) {
             saveTo("table.csv")(s);
             s.f->pmnusave_click();
         }},
        {"table print", "tmptxt.csv", false, [](Session& s) { s.f->pmnuprt_click(); }},
        {"totals print", "tmptxt2.csv", false, [](Session& s) { s.f->pmnuprt2_click(); }},
        {"pre-draw print", "tmptxt2.csv", false, [](Session& s) { s.f->pmnuprt3_click(); }},
    };
}

// Runs every writer in a fresh session under one fault and checks the outcome.
// `arrange` puts the fault in place (before the old file is recorded);
// `heard` tells whether the new messages report it.
void tryEveryWriter(const std::function<fs::path()>& makeFolder,
                    const std::function<void(const Writer&, Session&)>& arrange, const std::function<void()>& disarm,
                    const std::function<bool(const Writer&, const std::vector<std::string>&)>& heard,
                    const std::function<std::string(const std::string&)>& expectedAfter = {}, bool withStartUp = true) {
    for (const Writer& w : writers()) {
        if (w.startUp && !withStartUp) continue;
        SCOPED_TRACE(w.name);
        const fs::path folder = makeFolder();
        Session s(folder);
        ASSERT_TRUE(s.started);
        const fs::path target = folder / w.target;
        writeBytes(target, "the old file\r\n");
        const auto table = allCells(s.f->combinationTable());
        const int maxn = s.f->state().maxn;
        const std::size_t before = s.fake.messages.size();
        arrange(w, s);
        const auto state = folderState(folder);

        w.run(s);
        disarm();

        const auto texts = s.fake.messageTexts();
        const std::vector<std::string> fresh(texts.begin() + static_cast<long>(before), texts.end());
        EXPECT_TRUE(heard(w, fresh)) << (fresh.empty() ? "no message" : fresh.back());
        auto expected = state;
        if (expectedAfter) {
            expected.erase(w.target + "=the old file\r\n");
            expected.insert(w.target + "=" + expectedAfter(w.target));
        }
        EXPECT_EQ(folderState(folder), expected);  // old file whole, no temporary file
        EXPECT_FALSE(s.f->closeRequested());
        EXPECT_EQ(s.f->state().maxn, maxn);
        if (!w.startUp) {
            EXPECT_EQ(allCells(s.f->combinationTable()), table);
        }
    }
}

bool mentions(const std::vector<std::string>& texts, const std::string& part) {
    for (const auto& t : texts)
        if (t.find(part) != std::string::npos) return true;
    return false;
}

// A print file that cannot be replaced gets the close-the-file message.
bool isPrint(const Writer& w) { return w.target.starts_with("tmptxt"); }
std::string closeMessage(const Writer& w) { return "別名ﾌｧｲﾙで保存し、" + w.target + "を一旦閉じて下さい｡"; }

fs::path g_replaceTarget;

class WriteFaults : public ::testing::Test {
protected:
    std::function<fs::path()> inTemp() {
        return [this] {
            dirs.push_back(std::make_unique<TempDir>());
            return dirs.back()->path();
        };
    }
    std::vector<std::unique_ptr<TempDir>> dirs;
};

TEST_F(WriteFaults, FullDiskAndReadOnlyFolderSimulated) {
    // The file layer fails as the system does when the disk is full or the
    // folder may not be written (root writes everywhere, so this runs everywhere).
    const std::string full = "ファイルに書き込めません（No space left on device）。";
    tryEveryWriter(
        inTemp(),
        [](const Writer&, Session&) {
            platform::setWriteFaultHook([](const fs::path&) {
                throw AppError(kPathFileAccess, "ファイルに書き込めません（No space left on device）。");
            });
        },
        [] { platform::setWriteFaultHook(nullptr); },
        [&](const Writer&, const std::vector<std::string>& m) { return mentions(m, full); });

    const std::string denied = "ファイルに書き込めません（Permission denied）。";
    tryEveryWriter(
        inTemp(),
        [](const Writer&, Session&) {
            platform::setWriteFaultHook([](const fs::path&) {
                throw AppError(kPermissionDenied, "ファイルに書き込めません（Permission denied）。");
            });
        },
        [] { platform::setWriteFaultHook(nullptr); },
        [&](const Writer& w, const std::vector<std::string>& m) {
            return isPrint(w) ? mentions(m, closeMessage(w)) : mentions(m, denied);
        });
}

TEST_F(WriteFaults, ReadOnlyFolderForReal) {
    if (!testing::rightsBindThisUser()) GTEST_SKIP() << "this user writes into read-only folders";
    tryEveryWriter(
        inTemp(),
        [](const Writer&, Session& s) { fs::permissions(s.folder, fs::perms::owner_read | fs::perms::owner_exec); },
        [] {},
        [](const Writer& w, const std::vector<std::string>& m) {
            return isPrint(w) ? mentions(m, closeMessage(w)) : mentions(m, w.target);
        });
}

TEST_F(WriteFaults, FolderInTheFilesPlace) {
    for (const Writer& w : writers()) {
        if (!w.startUp) continue;
        // Without an environment file the program does not start at all.
        TempDir dir;
        Session s(dir.path());
        fs::remove(dir.file("Kazuban.ini"));
        fs::create_directory(dir.file("Kazuban.ini"));
        writeBytes(dir.file("Kazuban.ini") / "inside.txt", "kept");
        const auto state = folderState(dir.path());
        s.start();
        EXPECT_FALSE(s.started);
        EXPECT_EQ(s.fake.messages.back().text, missingDataFileMessage("Kazuban.ini", dir.path()));
        EXPECT_EQ(folderState(dir.path()), state);
    }
    tryEveryWriter(
        inTemp(),
        [&](const Writer& w, Session& s) {
            const fs::path p = s.folder / w.target;
            fs::remove(p);
            fs::create_directory(p);
            writeBytes(p / "inside.txt", "kept");
        },
        [] {}, [](const Writer& w, const std::vector<std::string>& m) { return mentions(m, w.target); }, {}, false);
}

TEST_F(WriteFaults, FileReplacedWhileWritten) {
    // Another program saves the same file while the new text is being written:
    // its file is kept and the user is told.
    tryEveryWriter(
        inTemp(),
        [](const Writer& w, Session& s) {
            g_replaceTarget = s.folder / w.target;
            platform::setWriteFaultHook([](const fs::path&) {
                const fs::path other = g_replaceTarget.parent_path() / "other.tmp";
                writeBytes(other, kOtherProgram);
                fs::rename(other, g_replaceTarget);
            });
        },
        [] { platform::setWriteFaultHook(nullptr); },
        [](const Writer& w, const std::vector<std::string>& m) {
            return mentions(m, w.target) && mentions(m, "他のプログラムによって変更された");
        },
        [](const std::string&) { return std::string(kOtherProgram); });
}

// A small file system that is really full.
class TinyDisk {
public:
    TinyDisk() {
        mountPoint_ = dir_.path() / "disk";
        fs::create_directory(mountPoint_);
        mounted_ = testing::mountTinyDisk(mountPoint_, 256);
    }
    ~TinyDisk() {
        if (mounted_) testing::unmountTinyDisk(mountPoint_);
    }
    bool mounted() const { return mounted_; }
    // A fresh folder on the disk.
    fs::path folder() {
        const fs::path p = mountPoint_ / ("d" + std::to_string(next_++));
        fs::create_directory(p);
        return p;
    }
    // Takes every free byte.
    void fill() {
        std::ofstream out(mountPoint_ / ("filler" + std::to_string(next_++)), std::ios::binary);
        const std::string block(4096, 'x');
        for (int i = 0; i < 1024 && out.write(block.data(), static_cast<std::streamsize>(block.size())); ++i) {}
        out.flush();
    }
    void release() {
        for (const auto& e : fs::directory_iterator(mountPoint_))
            if (e.path().filename().string().starts_with("filler")) fs::remove(e.path());
    }

private:
    TempDir dir_;
    fs::path mountPoint_;
    bool mounted_ = false;
    int next_ = 0;
};

TEST_F(WriteFaults, FullDiskForReal) {
    TinyDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    tryEveryWriter(
        [&] {
            disk.release();
            return disk.folder();
        },
        [&](const Writer&, Session&) { disk.fill(); }, [] {},
        [](const Writer& w, const std::vector<std::string>& m) { return mentions(m, w.target); });
}

TEST(CliWriteFaults, OutputFileIsWholeOrUntouched) {
    if (!testing::kPosix) GTEST_SKIP() << "the disk limit comes from the POSIX shell";
    TempDir data, out;
    testing::writeSyntheticHistory(data, 60, 11);
    const fs::path target = out.file("check.csv");
    writeBytes(target, "the old file\r\n");
    data.write("combos.txt", " 1, 2, 3, 4, 5\r\n 3, 9,14,22,30\r\n");
    auto run = [&](const std::string& prefix, const fs::path& o) {
        const std::string cmd = prefix + "'" KAZUBAN_CLI_PATH "' --dir '" + data.str() + "' check '" +
                                data.file("combos.txt").string() + "' -o '" + o.string() + "' 2>'" +
                                (data.path() / "err.txt").string() + "'";
        return testing::exitStatusOf(std::system(cmd.c_str()));
    };
    const auto state = folderState(out.path());

    // A disk that takes only a few hundred bytes: the write of the 1000 rows fails half-way.
    EXPECT_EQ(run("ulimit -f 1; trap '' XFSZ; exec ", target), 2);
    EXPECT_NE(data.read("err.txt").find("check.csv"), std::string::npos) << data.read("err.txt");
    EXPECT_EQ(folderState(out.path()), state);

    // A folder in the file's place.
    fs::create_directory(out.file("dir.csv"));
    EXPECT_EQ(run("", out.file("dir.csv")), 2);
    EXPECT_NE(data.read("err.txt").find("dir.csv"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(out.file("dir.csv")));

    if (testing::rightsBindThisUser()) {
        fs::permissions(out.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(run("", target), 2);
        fs::permissions(out.path(), fs::perms::owner_all);
        EXPECT_NE(data.read("err.txt").find("check.csv"), std::string::npos);
    }
    fs::remove(out.file("dir.csv"));
    EXPECT_EQ(folderState(out.path()), state);

    // And with room to write, the file is replaced whole.
    EXPECT_EQ(run("", target), 0);
    EXPECT_NE(readBytes(target), "the old file\r\n");
    EXPECT_EQ(fs::directory_iterator(out.path())->path(), target);
}

}  // namespace
}  // namespace kazuban::app
