// kazuban-cli design, run as a user runs it.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/history_gen.h"

namespace kazuban::cli {
namespace {

using testing::TempDir;

class CliDesign : public ::testing::Test {
protected:
    testing::CliRun run(const std::string& args) { return testing::runCli(scratch, "", "design " + args); }
    TempDir scratch;
};

// The five header lines, and the ticket lines after them.
std::string header(const std::string& out) {
    std::size_t at = 0;
    for (int n = 0; n < 5 && at != std::string::npos; ++n) at = out.find('\n', at) + 1;
    return out.substr(0, at);
}
std::vector<std::string> ticketLines(const std::string& out) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (int skip = 0; skip < 5 && at != std::string::npos; ++skip) at = out.find('\n', at) + 1;
    while (at < out.size()) {
        const std::size_t end = out.find('\n', at);
        lines.push_back(out.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

TEST_F(CliDesign, PrintsTheReportAndSavesTheTickets) {
    const std::string file = (scratch.path() / "wheel.txt").string();
    testing::CliRun r = run("--guarantee --numbers 3,5,8,13,21,30,31 --save '" + file + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    ASSERT_EQ(header(r.out), "mode,wheel\nnumbers,7\ntickets,5\ncovered,35,35\npercent,100.00\n");
    const std::vector<std::string> lines = ticketLines(r.out);
    ASSERT_EQ(lines.size(), 5u);
    std::string saved;
    const std::regex form(R"([ 0-9][0-9](,[ 0-9][0-9]){4})");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], form)) << lines[i];
        for (std::size_t f = 0; f < 5; ++f) {
            const int v = std::stoi(lines[i].substr(3 * f, 2));
            EXPECT_TRUE(v == 3 || v == 5 || v == 8 || v == 13 || v == 21 || v == 30 || v == 31) << lines[i];
        }
        if (i > 0) {
            EXPECT_LT(lines[i - 1], lines[i]);
        }
        saved += lines[i] + "\r\n";
    }
    EXPECT_EQ(scratch.read("wheel.txt"), saved);

    // The same arguments print the same bytes; -o writes them with CR LF.
    EXPECT_EQ(run("--guarantee --numbers 3,5,8,13,21,30,31").out, r.out);
    const std::string out = (scratch.path() / "report.txt").string();
    ASSERT_EQ(run("--guarantee --numbers 3,5,8,13,21,30,31 -o '" + out + "'").status, 0);
    std::string crlf;
    for (char c : r.out) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(scratch.read("report.txt"), crlf);
}

TEST_F(CliDesign, BestTicketsWithinTheConstraints) {
    const testing::CliRun r = run("--tickets 5 --exclude 1,2,31 --seed 9");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(header(r.out), "mode,best\nnumbers,28\ntickets,5\ncovered,16905,169911\npercent,9.95\n");
    for (const std::string& line : ticketLines(r.out))
        for (std::size_t f = 0; f < 5; ++f) {
            const int v = std::stoi(line.substr(3 * f, 2));
            EXPECT_TRUE(v >= 3 && v <= 30) << line;
        }
    EXPECT_EQ(ticketLines(r.out).size(), 5u);
}

TEST_F(CliDesign, RefusesBadArgumentsWithStatus2) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "--tickets N か --guarantee"},
        {"--tickets 3 --guarantee", "--tickets N か --guarantee"},
        {"--tickets 0", "口数は 1 から 1000"},
        {"--tickets 1001", "口数は 1 から 1000"},
        {"--tickets x", "口数は 1 から 1000"},
        {"--tickets 3 --numbers 1,2,32", "1 から 31 以外"},
        {"--tickets 3 --numbers 0,1,2,3,4,5", "1 から 31 以外"},
        {"--tickets 3 --exclude 4,4", "同じ数字が２回"},
        {"--tickets 3 --exclude 4,,5", "で区切って"},
        {"--tickets 3 --sum 90-60", "合計の範囲 90-60"},
        {"--tickets 3 --sum 60", "合計の範囲は 60-90"},
        {"--tickets 3 --odd 3-2", "奇数の個数の範囲 3-2"},
        {"--tickets 3 --odd -1-2", "奇数の個数の範囲は 2-3"},
        {"--tickets 3 --if 3", "--if は --guarantee --numbers"},
        {"--guarantee --if 4", "--if は --guarantee --numbers"},
        {"--guarantee --numbers 1,2,3,4,5,6 --if 6", "3, 4, 5"},
        {"--guarantee --numbers 1,2,3,4", "5 個以上"},
        {"--guarantee --numbers 1,2,3,4,5,6 --exclude 6", "--exclude"},
        {"--tickets 7 --numbers 1,2,3,4,5,6", "6 口しかない"},
        {"--guarantee --exclude 1,2,3", "保証できません"},
        {"--tickets 3 --effort 0", "--effort"},
        {"--tickets 3 --seed -1", "--seed"},
    };
    for (const auto& [args, message] : cases) {
        const testing::CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
    }
    EXPECT_EQ(run("--tickets 3 --bogus 1").status, 2);
}

}  // namespace
}  // namespace kazuban::cli
