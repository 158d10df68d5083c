#include "output/printing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/form1.h"
#include "output/launcher.h"
#include "platform/line_file.h"
#include "support/arg_recorder.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "text/app_error.h"
#include "text/text.h"

namespace kazuban::output {
namespace {

using platform::Buttons;
using platform::Icon;
using testing::ArgumentRecorder;
using testing::FakePlatform;
using testing::TempDir;

const std::string kLockedTable = "別名ﾌｧｲﾙで保存し、tmptxt.csvを一旦閉じて下さい｡";
const std::string kLockedView = "別名ﾌｧｲﾙで保存し、tmptxt2.csvを一旦閉じて下さい｡";
const std::string kResetPaths = "環境設定でﾊﾟｽの再設定をして下さい｡";

// A disk that refuses to replace the file, as when the spreadsheet program holds it open.
struct LockedFiles {
    LockedFiles() {
        platform::setWriteFaultHook(
            [](const std::filesystem::path&) { throw AppError(kPermissionDenied, "ファイルが使用中です。"); });
    }
    ~LockedFiles() { platform::setWriteFaultHook(nullptr); }
};

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

int msgInt(const app::Form1& f) {
    return std::holds_alternative<int>(f.state().msg) ? std::get<int>(f.state().msg) : -1;
}

class PrintingTest : public ::testing::Test {
protected:
    PrintingTest() {
        f.state().startdir = f.state().mydir = dir.str();
        for (int r = 1; r <= 1000; ++r) f.combinationTable().setCell(r, 0, text::intText(r));
    }
    std::string tablePrint() const { return dir.read("tmptxt.csv"); }

    TempDir dir;
    FakePlatform fake;
    app::Form1 f{fake};
};

TEST_F(PrintingTest, SavesTheTableAsCsvInTheChosenFile) {
    f.state().datadir = dir.str();
    f.combinationTable().setCell(1, 1, " 5,12,20,27,31");
    f.combinationTable().setCell(2, 1, " 1, 2, 3, 4, 5");
    f.combinationTable().setCell(2, 2, "12=4");
    f.combinationTable().setCell(2, 3, "30=3");
    f.combinationTable().clearCell(1000, 0);  // a row without its data number writes nothing
    const auto target = dir.file("out.csv");
    fake.saveAnswers.push_back(target.string());

    f.pmnusave_click();

    ASSERT_EQ(fake.saveDialogs.size(), 1u);
    EXPECT_EQ(fake.saveDialogs[0].filter, "csv(*.csv)|*.csv|全て|*.*");
    EXPECT_EQ(fake.saveDialogs[0].defaultExtension, "csv");
    EXPECT_EQ(fake.saveDialogs[0].initialFolder, dir.str());
    EXPECT_TRUE(fake.saveDialogs[0].confirmOverwrite);
    EXPECT_EQ(dir.read("out.csv"),
              "\" 5,12,20,27,31\",\"\"\n"
              "\" 1, 2, 3, 4, 5\",\"12=4\",\"30=3\",\"\"\n" +
                  repeat("\"\"\n", 997) + "\r\n");
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_TRUE(fake.startedPrograms.empty());
}

TEST_F(PrintingTest, SaveCancelledOrFailedWritesNothingAndFailureIsShown) {
    f.pmnusave_click();              // Cancel
    fake.saveAnswers.push_back("");  // an empty name
    f.pmnusave_click();
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    std::filesystem::create_directory(dir.file("taken.csv"));
    fake.saveAnswers.push_back(dir.file("taken.csv").string());
    f.pmnusave_click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_FALSE(fake.messages[0].text.empty());
    EXPECT_EQ(fake.messages[0].icon, Icon::None);
    EXPECT_EQ(fake.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(msgInt(f), 1);
}

TEST_F(PrintingTest, PrintsTheTableAndStartsTheSpreadsheetOnIt) {
    ArgumentRecorder recorder(dir.path());
    fake.startForReal = true;
    f.state().calcdir = ArgumentRecorder::script();
    f.combinationTable().setCell(1, 1, " 5,12,20,27,31");
    f.combinationTable().setCell(3, 1, " 1, 2, 3, 4, 5");
    f.combinationTable().setCell(3, 2, "7=2");
    dir.write("tmptxt.csv", "an older print");

    f.pmnuprt_click();

    const std::string empty = "\"\",\"\"\n";
    EXPECT_EQ(tablePrint(),
              "\" 5,12,20,27,31\",\"\"\n" + empty + "\" 1, 2, 3, 4, 5\",\"7=2\",\"\"\n" + repeat(empty, 997) + "\r\n");
    const std::string path = dir.file("tmptxt.csv").string();
    EXPECT_EQ(fake.startedPrograms, std::vector<std::string>{f.state().calcdir + " " + path});
    const auto got = recorder.wait();
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, (std::vector<std::string>{f.state().calcdir, path}));
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(f.state().msg));
}

TEST_F(PrintingTest, EachFailedStepShowsItsMessageAndTheNextStepRuns) {
    // No spreadsheet configured: the desktop opens the print file.
    f.pmnuprt_click();
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.startedPrograms, std::vector<std::string>{desktopOpener() + " " + dir.file("tmptxt.csv").string()});
    EXPECT_EQ(tablePrint(), repeat("\"\",\"\"\n", 1000) + "\r\n");

    // The print file held open elsewhere: the old file stays whole and the
    // spreadsheet program still starts.
    fake.messages.clear();
    fake.startedPrograms.clear();
    fake.startForReal = false;
    f.state().calcdir = "/usr/bin/localc";
    dir.write("tmptxt.csv", "open in the spreadsheet");
    {
        LockedFiles locked;
        f.pmnuprt_click();
        f.pmnuprt2_click();
    }
    EXPECT_EQ(fake.messageTexts(), (std::vector<std::string>{kLockedTable, kLockedView}));
    EXPECT_EQ(tablePrint(), "open in the spreadsheet");
    EXPECT_EQ(fake.startedPrograms.size(), 2u);
    EXPECT_EQ(msgInt(f), 0);

    // Any other failure shows the error's own text; a spreadsheet path that
    // names no program is a setting to correct.
    fake.messages.clear();
    std::filesystem::create_directories(dir.file("tmptxt2.csv") / "inside");
    fake.startForReal = true;
    f.state().calcdir = dir.str() + "/no-such-calc";
    f.pmnuprt2_click();
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_NE(fake.messages[0].text.find("tmptxt2.csv"), std::string::npos) << fake.messages[0].text;
    EXPECT_EQ(fake.messages[1].text, kResetPaths);

    // So is one that names a file that may not be run: not a locked print file.
    fake.messages.clear();
    dir.write("not-a-program", "plain text");
    std::filesystem::permissions(dir.file("not-a-program"),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    f.state().calcdir = dir.str() + "/not-a-program";
    f.pmnuprt_click();
    EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{kResetPaths});

    // A cell the print file cannot hold says so; it is no path to correct.
    fake.messages.clear();
    fake.startForReal = false;
    f.combinationTable().setCell(4, 1, "😀");
    f.pmnuprt_click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_NE(fake.messages[0].text.find("😀"), std::string::npos) << fake.messages[0].text;
}

TEST_F(PrintingTest, PrintsTheHeaderAndTheScoredRowsOfTheTotalsView) {
    auto fill = [&](int r, std::vector<std::string> cells) {
        for (std::size_t c = 0; c < cells.size(); ++c) f.totals().grid().setCell(r, static_cast<int>(c) + 1, cells[c]);
    };
    f.totals().grid().setCell(0, 0, "never written");
    fill(0, {"組合せデータ", "合計", "当選回数", "最新当選回", "最高", "奇:偶", "P相性率", "T相性率", "５分割分布"});
    fill(1, {" 4,11,17,21,31", "84", "33", "1372", "4", "4:1", "0.328", "0.0704", "1:1:1:1:1"});
    fill(2, {" 1, 2, 3, 4, 5", "15", "0", "0", "0", "5:0", "0.1", "0", "5:0:0:0:0"});
    fill(3, {" 6, 8,10,12,14", "50", "2", "77", "3", "0:5", "0.2", "0.01", "2:3:0:0:0"});
    f.state().calcdir = "/usr/bin/localc";

    f.pmnuprt2_click();

    EXPECT_EQ(platform::decodeCp932(dir.read("tmptxt2.csv")),
              "\"組合せデータ\",\"合計\",\"当選回数\",\"最新当選回\",\"最高\",\"奇;偶\",\"P相性率\",\"T相性率\","
              "\"５分割分布\"\n"
              "\" 4,11,17,21,31\",\"84\",\"33\",\"1372\",\"4\",\"4;1\",\"0.328\",\"0.0704\",\"1:1:1:1:1\"\n"
              "\" 1, 2, 3, 4, 5\",\"15\",\"0\",\"0\",\"0\",\"5;0\",\"0.1\",\"0\",\"5:0:0:0:0\"\n"
              "\" 6, 8,10,12,14\",\"50\",\"2\",\"77\",\"3\",\"0;5\",\"0.2\",\"0.01\",\"2:3:0:0:0\"\n"
              "\r\n");
    EXPECT_EQ(fake.startedPrograms, std::vector<std::string>{"/usr/bin/localc " + dir.file("tmptxt2.csv").string()});
}

TEST_F(PrintingTest, PrintsOnlyThePredrawRowsTheViewHolds) {
    f.predraw().grid() = grid::TextGrid(4, 10, 1, 1);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c <= 9; ++c) f.predraw().grid().setCell(r, c, c == 6 ? "3:2" : text::intText(r * 10 + c));
    const std::string row = [] {
        std::string s;
        for (int c = 0; c <= 9; ++c)
            s.append("\"")
                .append(c == 6 ? std::string("3;2") : text::intText(c))
                .append("\"")
                .append(c < 9 ? "," : "\n");
        return s;
    }();
    f.state().calcdir = "/usr/bin/localc";

    f.state().maxn = 70;  // draws added since the analysis have no rows
    f.pmnuprt3_click();
    const std::string all = dir.read("tmptxt2.csv");
    EXPECT_EQ(all.substr(0, row.size()), row);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 5);  // four records and the final CR LF

    f.state().maxn = 52;  // rows 0 to maxn - 50
    f.pmnuprt3_click();
    const std::string some = dir.read("tmptxt2.csv");
    EXPECT_EQ(std::count(some.begin(), some.end(), '\n'), 4);
    EXPECT_EQ(some.substr(some.size() - 2), "\r\n");
}

}  // namespace
}  // namespace kazuban::output

namespace kazuban::output {
namespace {

std::string expectedFile(const char* name) {
    return platform::readFileBytes(std::filesystem::path(KAZUBAN_TESTDATA_DIR) / "golden" / name);
}

// The window's print commands on the demo history write the bytes that the
// headless front end writes with -o and that were computed independently.
TEST(PrintFiles, WindowPrintsTheExpectedFilesOfTheDemoHistory) {
    TempDir dir;
    testing::copyDemoHistory(dir);
    testing::writeMinimalEnvironment(dir);
    FakePlatform fake;
    app::Form1 f{fake};
    ASSERT_TRUE(f.Form_Load(dir.str()));
    f.state().calcdir = "/usr/bin/localc";
    fake.openAnswers.push_back(std::string(KAZUBAN_TESTDATA_DIR) + "/golden/combos200.txt");
    f.mnudopen_Click();

    f.pmnuprt_click();
    EXPECT_EQ(dir.read("tmptxt.csv"), expectedFile("tmptxt.csv"));

    f.SSTab1_Click(app::kTabTotals);
    f.pmnuprt2_click();
    EXPECT_EQ(platform::decodeCp932(dir.read("tmptxt2.csv")), expectedFile("totals.csv"));

    f.SSTab1_Click(app::kTabPredraw);
    f.pmnuprt3_click();
    EXPECT_EQ(dir.read("tmptxt2.csv"), expectedFile("tmptxt2-predraw.csv"));
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.startedPrograms.size(), 3u);
}

}  // namespace
}  // namespace kazuban::output
