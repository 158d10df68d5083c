#include "history/bank_fetch.h"

#include <algorithm>
#include <cstdio>

#include "history/draw_history.h"
#include "history/result_files.h"

namespace kazuban::history {

namespace {

constexpr int kNotFound = 404;
constexpr int kOk = 200;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// The draw of a file named A101<digits>.CSV; 0 for any other name.
int drawOfFile(std::string_view name) {
    constexpr std::string_view kHead = "A101", kTail = ".CSV";
    if (name.size() < kHead.size() + 4 + kTail.size() || name.size() > kHead.size() + 5 + kTail.size()) return 0;
    if (!equalsIgnoringCase(name.substr(0, kHead.size()), kHead) ||
        !equalsIgnoringCase(name.substr(name.size() - kTail.size()), kTail))
        return 0;
    int draw = 0;
    for (char c : name.substr(kHead.size(), name.size() - kHead.size() - kTail.size())) {
        if (c < '0' || c > '9') return 0;
        draw = draw * 10 + (c - '0');
    }
    return draw;
}

std::string drawName(int draw) { return "第" + std::to_string(draw) + "回"; }

// Why an answer is no file, in the player's words.
std::string answerProblem(const platform::DownloadAnswer& a) {
    if (a.status == 0) return a.error.empty() ? std::string("応答がありませんでした。") : a.error;
    return "サーバーの応答が HTTP " + std::to_string(a.status) + " でした。";
}

}  // namespace

std::vector<IndexEntry> parseBankIndex(std::string_view bytes) {
    std::vector<IndexEntry> out;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        const std::size_t tab = trimmed(line).find_last_of('\t');
        const std::string_view file = trimmed(tab == std::string_view::npos ? line : trimmed(line).substr(tab + 1));
        if (const int draw = drawOfFile(file); draw > 0) out.push_back({draw, std::string(file)});
    }
    return out;
}

std::vector<IndexEntry> filesAfter(std::vector<IndexEntry> index, int maxn) {
    std::erase_if(index, [maxn](const IndexEntry& e) { return e.draw <= maxn; });
    std::stable_sort(index.begin(), index.end(), [](const auto& a, const auto& b) { return a.draw < b.draw; });
    index.erase(std::unique(index.begin(), index.end(), [](const auto& a, const auto& b) { return a.draw == b.draw; }),
                index.end());
    return index;
}

std::string bankFileName(int draw) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "A101%04d.CSV", draw);
    return buf;
}

std::string fileUrl(const std::string& folderUrl, const std::string& file) {
    if (folderUrl.empty() || folderUrl.back() == '/') return folderUrl + file;
    return folderUrl + "/" + file;
}

std::string urlProblem(const std::string& url) {
    std::string_view rest;
    for (std::string_view scheme : {"http://", "https://"})
        if (url.size() > scheme.size() && equalsIgnoringCase(std::string_view(url).substr(0, scheme.size()), scheme))
            rest = std::string_view(url).substr(scheme.size());
    if (rest.empty() || rest.front() == '/')
        return "アドレス「" + url + "」は http:// または https:// で始まり、サーバー名が続く形で入力して下さい。";
    if (url.find_first_of(" \t\r\n") != std::string::npos) return "アドレス「" + url + "」に空白があります。";
    return {};
}

BankFetch::BankFetch(int maxn, std::string indexUrl, std::string folderUrl)
    : maxn_(maxn), indexUrl_(std::move(indexUrl)), folderUrl_(std::move(folderUrl)), probe_(maxn + 1) {}

std::string BankFetch::currentFile() const {
    if (step_ == Step::Listed) return listed_[done_].file;
    if (step_ == Step::Probing) return bankFileName(probe_);
    return {};
}

std::string BankFetch::nextUrl() const {
    if (step_ == Step::Index) return indexUrl_;
    if (step_ == Step::Listed || step_ == Step::Probing) return fileUrl(folderUrl_, currentFile());
    return {};
}

void BankFetch::answer(const platform::DownloadAnswer& a) {
    switch (step_) {
    case Step::Index:
        if (a.status == kOk) listed_ = parseBankIndex(a.body);
        readIndex_ = a.status == kOk && !listed_.empty();
        if (!readIndex_) {
            indexProblem_ = a.status == kOk ? std::string("当選番号のファイルが載っていません。") : answerProblem(a);
            step_ = probe_ > kMaxDraws ? Step::Done : Step::Probing;
            return;
        }
        listed_ = filesAfter(std::move(listed_), maxn_);
        step_ = listed_.empty() ? Step::Done : Step::Listed;
        return;
    case Step::Listed:
        if (a.status != kOk) return fail(a);
        sources_.push_back({listed_[done_].file, a.body});
        if (++done_ == listed_.size()) step_ = Step::Done;
        return;
    case Step::Probing: {
        if (a.status == kNotFound) {
            if (sources_.empty()) firstProbeProblem_ = answerProblem(a);
            step_ = Step::Done;
            return;
        }
        if (a.status != kOk) return fail(a);
        const std::string name = bankFileName(probe_);
        sources_.push_back({name, a.body});
        // The next file is tried only after a file of the draw tried: an
        // address that answers every name with a page of its own would
        // otherwise be asked forever. What this file holds is judged by the merge.
        bool holdsDraw = false;
        try {
            const ResultFile file = readResultFile(a.body, name);
            holdsDraw = std::any_of(file.draws.begin(), file.draws.end(),
                                    [this](const ResultDraw& d) { return d.draw == probe_; });
        } catch (const AppError&) {}
        ++probe_;
        if (!holdsDraw || probe_ > kMaxDraws) step_ = Step::Done;
        return;
    }
    case Step::Done: return;
    }
}

void BankFetch::fail(const platform::DownloadAnswer& a) {
    const std::string file = currentFile();
    error_ =
        "最新結果を取得できませんでした。\r\n" + file + "（" + fileUrl(folderUrl_, file) + "）: " + answerProblem(a);
    if (!readIndex_) error_ += "\r\n一覧ファイル（" + indexUrl_ + "）: " + indexProblem_;
    step_ = Step::Done;
    sources_.clear();
}

std::string BankFetch::nothingNewText() const {
    if (readIndex_ || firstProbeProblem_.empty()) return kNothingNew;
    const std::string file = bankFileName(maxn_ + 1);
    return "新しい回は見つかりませんでした。\r\n一覧ファイル（" + indexUrl_ + "）: " + indexProblem_ + "\r\n" + file +
           "（" + fileUrl(folderUrl_, file) + "）: " + firstProbeProblem_ + "\r\n" + drawName(maxn_ + 1) +
           "がまだ公開されていないか、取得先のアドレスが違います（◇環境 → 設定 の「最新結果の取得先」）。";
}

std::string BankFetch::progressText() const {
    switch (step_) {
    case Step::Index: return "当選番号の一覧を読んでいます…";
    case Step::Listed:
        return drawName(listed_[done_].draw) + "の結果を取得しています…（" + std::to_string(done_ + 1) + "/" +
               std::to_string(listed_.size()) + "）";
    case Step::Probing: return drawName(probe_) + "の結果を取得しています…";
    case Step::Done: break;
    }
    return {};
}

int BankFetch::stepsDone() const { return static_cast<int>(done_); }

int BankFetch::stepsKnown() const { return step_ == Step::Index ? 0 : static_cast<int>(listed_.size()); }

}  // namespace kazuban::history
