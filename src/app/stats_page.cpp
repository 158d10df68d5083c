#include "app/stats_page.h"

#include <algorithm>
#include <cstdio>

namespace kazuban::app {

using analysis::RandomnessTest;
using analysis::TestResult;

std::string StatsPage::note() const {
    std::string note = stats_.draws == 0
                           ? std::string("集計できる当選番号がありません")
                           : "第" + std::to_string(stats_.firstDraw) + "回～第" + std::to_string(stats_.lastDraw) +
                                 "回の " + std::to_string(stats_.draws) + " 回を集計";
    if (stats_.leftOut > 0) note += "（正しくない当選番号 " + std::to_string(stats_.leftOut) + " 回は除いています）";
    return note;
}

const TestResult& StatsPage::test(RandomnessTest test) {
    const auto i = static_cast<std::size_t>(test);
    if (report_) return report_->tests[i];
    if (!tests_[i]) {
        platform::BusyPointer busy(s_.platform);
        tests_[i] = analysis::randomnessTest(stats_, test);
    }
    return *tests_[i];
}

const analysis::RandomnessReport& StatsPage::report() {
    if (!report_) {
        platform::BusyPointer busy(s_.platform);
        report_ = analysis::randomnessReport(stats_);
    }
    return *report_;
}

void StatsPage::enter() {
    if (stale_) compute();
}

void StatsPage::setWindow(int window) {
    window_ = std::max(window, 0);
    compute();
}

void StatsPage::changed(const Changes& changes) {
    if (!changes.has(kHistoryChanged)) return;
    stale_ = true;
    if (s_.SSTab1 == kTabCharts) compute();
}

void StatsPage::compute() {
    stats_ = analysis::computeHistoryStats(s_.history, window_);
    tests_ = {};
    report_.reset();
    stale_ = false;
    ++revision_;
}

namespace {

std::string formatted(const char* format, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// A p-value as a player reads it: four decimals, and never a 0.0000 that
// reads as impossible.
std::string shownP(double p) { return p < 0.00005 ? "0.0001 未満" : formatted("%.4f", p); }

}  // namespace

std::string testFigures(const TestResult& result) {
    if (!result.testable()) return "－";
    const bool simulatedOnly = !result.pChi2;
    return "χ² = " + formatted("%.3f", result.statistic) + (simulatedOnly ? "（近似）" : "") + "　自由度 " +
           std::to_string(result.df) + "　p 値 " + shownP(result.p()) + (simulatedOnly ? "（シミュレーション）" : "") +
           "　判定：" + analysis::verdictText(result.verdict());
}

std::vector<std::string> testColumns() {
    // Copy and CSV take these too: no "²", which cp932 cannot write.
    return {"検定", "統計量", "自由度", "p 値（カイ二乗）", "p 値（シミュレーション）", "判定"};
}

std::vector<std::string> testRow(const TestResult& result, bool shown) {
    const std::string none = shown ? "－" : "";
    std::vector<std::string> row{analysis::testCaption(result.test)};
    if (!result.testable()) {
        row.insert(row.end(), {none, none, none, none, "検定できません"});
        return row;
    }
    auto p = [&](double v) { return shown ? shownP(v) : formatted("%.4f", v); };
    row.push_back(formatted("%.3f", result.statistic));
    row.push_back(std::to_string(result.df));
    row.push_back(result.pChi2 ? p(*result.pChi2) : none);
    row.push_back(p(result.pSimulated));
    row.push_back(analysis::verdictText(result.verdict()));
    return row;
}

std::string allTestsSentence(const analysis::RandomnessReport& report) {
    const bool any =
        std::any_of(report.tests.begin(), report.tests.end(), [](const TestResult& t) { return t.testable(); });
    return any ? analysis::manyTestsSentence(report) : "回数が少なすぎるため、検定できません。";
}

}  // namespace kazuban::app
