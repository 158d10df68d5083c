// Which of the bank's files the fetch asks for and when it stops, where the
// window's tests against a loopback server do not reach: an index that
// lists nothing, a server that answers every name, the last draw number.
#include <gtest/gtest.h>

#include <map>

#include "history/bank_fetch.h"
#include "history/draw_history.h"
#include "platform/line_file.h"
#include "support/bank_files.h"

namespace kazuban::history {
namespace {

TEST(BankIndex, ListsTheDrawFilesInOrderOnceEach) {
    const std::vector<IndexEntry> all = parseBankIndex(platform::encodeCp932(
        "第1399回\tA1011399.CSV\r\n<html>\r\n第1402回\ta1011402.csv \r\n  A1011401.CSV\n第1401回\tA1011401.CSV\r\n"
        "x\tA1021402.CSV\r\nx\tA101140.CSV\r\nx\tA101140111.CSV\r\nx\tA101x401.CSV\r\n第10000回\tA10110000.CSV"));
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(filesAfter(all, 1400),
              (std::vector<IndexEntry>{{1401, "A1011401.CSV"}, {1402, "a1011402.csv"}, {10000, "A10110000.CSV"}}));
    EXPECT_EQ(bankFileName(7), "A1010007.CSV");
    EXPECT_EQ(fileUrl("http://h/csv", "A.CSV"), fileUrl("http://h/csv/", "A.CSV"));
    EXPECT_EQ(urlProblem("http://127.0.0.1:8080/name.txt"), "");
    for (const char* bad : {"", "ftp://h/x", "http://", "https:///x", "www.example.jp/name.txt", "http://h/a b"})
        EXPECT_NE(urlProblem(bad), "") << bad;
}

// The paths asked of a site (path -> status and body; others answer 404)
// and the files kept.
std::pair<std::vector<std::string>, std::vector<std::string>> fetchFrom(
    int maxn, const std::map<std::string, platform::DownloadAnswer>& site) {
    BankFetch fetch(maxn, "http://h/name.txt", "http://h/csv");
    std::vector<std::string> asked, kept;
    for (std::string url = fetch.nextUrl(); !url.empty() && asked.size() < 20; url = fetch.nextUrl()) {
        asked.push_back(url.substr(8));
        const auto at = site.find(asked.back());
        fetch.answer(at == site.end() ? platform::DownloadAnswer{404, "", ""} : at->second);
    }
    for (const ImportSource& s : fetch.sources()) kept.push_back(s.name);
    return {asked, kept};
}

platform::DownloadAnswer bankFile(int draw) {
    return {200, platform::encodeCp932(testing::bankBlock({draw, {1, 2, 3, 4, 5, 6}})), ""};
}

TEST(BankFetch, StopsWhereTheBankHasNothingMore) {
    using Paths = std::vector<std::string>;
    // An index without files counts as unread: the next files are tried.
    auto [asked, kept] =
        fetchFrom(1400, {{"/name.txt", {200, "<html></html>", ""}}, {"/csv/A1011401.CSV", bankFile(1401)}});
    EXPECT_EQ(asked, (Paths{"/name.txt", "/csv/A1011401.CSV", "/csv/A1011402.CSV"}));
    EXPECT_EQ(kept, Paths{"A1011401.CSV"});
    // A server that answers every name with a page of its own is asked once.
    std::tie(asked, kept) =
        fetchFrom(1400, {{"/csv/A1011401.CSV", bankFile(1402)}, {"/csv/A1011402.CSV", bankFile(1402)}});
    EXPECT_EQ(asked, (Paths{"/name.txt", "/csv/A1011401.CSV"}));
    EXPECT_EQ(kept, Paths{"A1011401.CSV"});
    // Nothing is tried beyond the last draw a history holds.
    std::tie(asked, kept) = fetchFrom(kMaxDraws - 1, {{"/csv/A10132767.CSV", bankFile(kMaxDraws)}});
    EXPECT_EQ(asked, (Paths{"/name.txt", "/csv/A10132767.CSV"}));
}

TEST(BankFetch, ProgressCountsTheListedFiles) {
    BankFetch fetch(1400, "http://h/name.txt", "http://h/csv/");
    fetch.answer({200, testing::bankIndex({1400, 1401, 1402}), ""});
    fetch.answer(bankFile(1401));
    EXPECT_EQ(fetch.progressText(), "第1402回の結果を取得しています…（2/2）");
    EXPECT_EQ(fetch.stepsDone(), 1);
    EXPECT_EQ(fetch.stepsKnown(), 2);
}

}  // namespace
}  // namespace kazuban::history
