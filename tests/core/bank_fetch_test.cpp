// Which of the bank's files the fetch asks for, in which order, and when it
// stops: the index, the one-by-one fallback, and every way a series fails.
#include <gtest/gtest.h>

#include <map>

#include "history/bank_fetch.h"
#include "history/draw_history.h"
#include "platform/line_file.h"
#include "support/bank_files.h"

namespace kazuban::history {
namespace {

using platform::DownloadAnswer;

TEST(BankIndex, ListsTheDrawFilesInOrderOnceEach) {
    const std::string index = platform::encodeCp932(
        "第1399回\tA1011399.CSV\r\n"
        "<html>\r\n"
        "第1402回\ta1011402.csv \r\n"
        "  A1011401.CSV\n"
        "第1401回\tA1011401.CSV\r\n"
        "ロト６\tA1021402.CSV\r\n"
        "x\tA101140.CSV\r\nx\tA101140111.CSV\r\nx\tA101x401.CSV\r\n"
        "第10000回\tA10110000.CSV");
    const std::vector<IndexEntry> all = parseBankIndex(index);
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[1], (IndexEntry{1402, "a1011402.csv"}));
    EXPECT_EQ(filesAfter(all, 1400),
              (std::vector<IndexEntry>{{1401, "A1011401.CSV"}, {1402, "a1011402.csv"}, {10000, "A10110000.CSV"}}));
    EXPECT_TRUE(filesAfter(all, 10000).empty());
    EXPECT_TRUE(parseBankIndex("<html><body>Not here</body></html>").empty());

    EXPECT_EQ(bankFileName(7), "A1010007.CSV");
    EXPECT_EQ(bankFileName(1401), "A1011401.CSV");
    EXPECT_EQ(fileUrl("http://h/csv", "A.CSV"), "http://h/csv/A.CSV");
    EXPECT_EQ(fileUrl("http://h/csv/", "A.CSV"), "http://h/csv/A.CSV");
    for (const char* good : {"http://127.0.0.1:8080/name.txt", "HTTPS://www.example.jp/"})
        EXPECT_EQ(urlProblem(good), "") << good;
    for (const char* bad : {"", "ftp://h/x", "http://", "https:///x", "www.example.jp/name.txt", "http://h/a b"})
        EXPECT_NE(urlProblem(bad), "") << bad;
}

std::string bankFile(int draw) {
    testing::BankDraw d;
    d.draw = draw;
    d.numbers = {1, 2, 3, 4, 5, 6};
    return platform::encodeCp932(testing::bankBlock(d));
}

struct Series {
    const char* name;
    int maxn;
    std::map<std::string, DownloadAnswer> site;  // by path; any other path answers 404
    std::vector<std::string> asked;              // the paths asked, in order
    std::vector<std::string> fetched;            // the files kept
    std::string error;                           // a part of the error ("" when none)
};

class BankFetchSeries : public ::testing::TestWithParam<Series> {};

TEST_P(BankFetchSeries, AsksForTheFilesAfterTheLastDrawAndStopsWhereItMust) {
    const Series& s = GetParam();
    BankFetch fetch(s.maxn, "http://h/name.txt", "http://h/csv");
    std::vector<std::string> asked;
    for (std::string url = fetch.nextUrl(); !url.empty() && asked.size() < 50; url = fetch.nextUrl()) {
        asked.push_back(url.substr(std::string("http://h").size()));
        const auto at = s.site.find(asked.back());
        fetch.answer(at == s.site.end() ? DownloadAnswer{404, "Not Found", ""} : at->second);
    }
    EXPECT_EQ(asked, s.asked);
    std::vector<std::string> fetched;
    for (const ImportSource& source : fetch.sources()) fetched.push_back(source.name);
    EXPECT_EQ(fetched, s.fetched);
    if (s.error.empty()) EXPECT_EQ(fetch.error(), "");
    else EXPECT_NE(fetch.error().find(s.error), std::string::npos) << fetch.error();
}

const DownloadAnswer kIndex{200, testing::bankIndex({1399, 1400, 1401, 1402}), ""};
const DownloadAnswer kBroken{500, "", ""};

INSTANTIATE_TEST_SUITE_P(
    All, BankFetchSeries,
    ::testing::Values(
        Series{"Index",
               1400,
               {{"/name.txt", kIndex},
                {"/csv/A1011401.CSV", {200, bankFile(1401), ""}},
                {"/csv/A1011402.CSV", {200, bankFile(1402), ""}}},
               {"/name.txt", "/csv/A1011401.CSV", "/csv/A1011402.CSV"},
               {"A1011401.CSV", "A1011402.CSV"},
               ""},
        Series{"IndexWithNothingNew", 1402, {{"/name.txt", kIndex}}, {"/name.txt"}, {}, ""},
        Series{"NotFoundInTheMiddleOfTheIndex",
               1399,
               {{"/name.txt", kIndex},
                {"/csv/A1011400.CSV", {200, bankFile(1400), ""}},
                {"/csv/A1011402.CSV", {200, bankFile(1402), ""}}},
               {"/name.txt", "/csv/A1011400.CSV", "/csv/A1011401.CSV"},
               {},
               "A1011401.CSV（http://h/csv/A1011401.CSV）: サーバーの応答が HTTP 404 でした。"},
        Series{"OneByOneUntilNotFound",
               1400,
               {{"/name.txt", kBroken},
                {"/csv/A1011401.CSV", {200, bankFile(1401), ""}},
                {"/csv/A1011402.CSV", {200, bankFile(1402), ""}}},
               {"/name.txt", "/csv/A1011401.CSV", "/csv/A1011402.CSV", "/csv/A1011403.CSV"},
               {"A1011401.CSV", "A1011402.CSV"},
               ""},
        Series{"IndexWithoutFilesIsUnread",
               1400,
               {{"/name.txt", {200, "<html></html>", ""}}, {"/csv/A1011401.CSV", {200, bankFile(1401), ""}}},
               {"/name.txt", "/csv/A1011401.CSV", "/csv/A1011402.CSV"},
               {"A1011401.CSV"},
               ""},
        // An address that answers every name with its own page is asked once.
        Series{"OneByOneStopsAtAPageThatIsNotTheDraw",
               1400,
               {{"/csv/A1011401.CSV", {200, bankFile(1402), ""}}, {"/csv/A1011402.CSV", {200, bankFile(1402), ""}}},
               {"/name.txt", "/csv/A1011401.CSV"},
               {"A1011401.CSV"},
               ""},
        Series{"OneByOneFailsWithTheIndex",
               1400,
               {{"/name.txt", kBroken}, {"/csv/A1011401.CSV", {0, "", "応答なし"}}},
               {"/name.txt", "/csv/A1011401.CSV"},
               {},
               "A1011401.CSV（http://h/csv/A1011401.CSV）: 応答なし\r\n一覧ファイル（http://h/name.txt）: "
               "サーバーの応答が HTTP 500 でした。"},
        Series{"TheLimitOfTheHistory", kMaxDraws, {{"/name.txt", kBroken}}, {"/name.txt"}, {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BankFetch, ProgressCountsTheListedFiles) {
    BankFetch fetch(1400, "http://h/name.txt", "http://h/csv/");
    EXPECT_EQ(fetch.stepsKnown(), 0);
    fetch.answer(kIndex);
    EXPECT_EQ(fetch.progressText(), "第1401回の結果を取得しています…（1/2）");
    fetch.answer({200, bankFile(1401), ""});
    EXPECT_EQ(fetch.progressText(), "第1402回の結果を取得しています…（2/2）");
    EXPECT_EQ(fetch.stepsDone(), 1);
    EXPECT_EQ(fetch.stepsKnown(), 2);
    EXPECT_EQ(fetch.nextUrl(), "http://h/csv/A1011402.CSV");
    EXPECT_TRUE(fetch.readIndex());
}

}  // namespace
}  // namespace kazuban::history
