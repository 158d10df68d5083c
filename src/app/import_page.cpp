#include "app/import_page.h"

#include <vector>

#include "history/bank_fetch.h"
#include "text/path_text.h"

namespace kazuban::app {

namespace {

constexpr const char* kResultsFilter = "CSV(*.csv)|*.csv|テキスト(*.txt)|*.txt|全て|*.*";
constexpr const char* kWhereUrlsAre = "（◇環境 → 設定 の「最新結果の取得先」で直せます）";

}  // namespace

std::string importQuestion(const history::ImportPlan& plan) {
    if (plan.added() > 0)
        return "第" + std::to_string(plan.firstAdded) + "回～第" + std::to_string(plan.lastAdded) +
               "回を追加します。よろしいですか？";
    return "atarikin.csv に書き込みます。よろしいですか？";
}

void ImportPage::importFiles() {
    platform::FileDialogOptions options;
    options.filter = kResultsFilter;
    const std::vector<std::filesystem::path> files = s_.platform.openFilesDialog(options);
    if (files.empty()) return;
    std::vector<history::ImportSource> sources;
    for (const std::filesystem::path& f : files)
        sources.push_back(history::readImportSource(f, text::utf8FromPath(f.filename())));
    confirmAndCommit(history::planImport(s_.historyFile(), sources));
}

void ImportPage::fetchLatest() {
    // The files after the history's last draw, as the file holds it now.
    s_.loadWinningNumbers();
    if (s_.msgIsOne() || s_.tdataon == 0) return;
    for (const std::string* url : {&s_.resultsIndexUrl, &s_.resultsFolderUrl}) {
        const std::string problem = history::urlProblem(*url);
        if (problem.empty()) continue;
        s_.message(problem + kWhereUrlsAre, platform::Icon::Exclamation);
        return;
    }
    history::BankFetch fetch(s_.maxn, s_.resultsIndexUrl, s_.resultsFolderUrl);
    if (!s_.platform.runDownloads(fetch)) return;  // cancelled: nothing is written
    if (!fetch.error().empty()) {
        s_.message(fetch.error(), platform::Icon::Critical);
        return;
    }
    if (fetch.sources().empty()) {
        const std::string said = fetch.nothingNewText();
        s_.message(said, said == history::kNothingNew ? platform::Icon::None : platform::Icon::Exclamation);
        return;
    }
    confirmAndCommit(history::planImport(s_.historyFile(), fetch.sources()));
}

void ImportPage::confirmAndCommit(const history::ImportPlan& plan) {
    if (plan.refused()) {
        s_.message(history::importPreviewText(plan), platform::Icon::Critical);
        return;
    }
    if (!plan.changes()) {
        s_.message(history::kNothingNew);
        return;
    }
    const std::string preview = history::importPreviewText(plan) + "\n" + importQuestion(plan);
    if (s_.message(preview, platform::Icon::None, platform::Buttons::OkCancel) != platform::kOk) return;
    history::commitImport(plan);
    s_.loadWinningNumbers();
    if (plan.added() > 0) frame_.showLatest();
}

}  // namespace kazuban::app
