#include "app/entry_page.h"

#include <exception>

#include "app/programs.h"
#include "config/hosts.h"
#include "history/add_draw.h"
#include "history/import.h"
#include "output/launcher.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::app {

void EntryPage::openInEditor() {
    try {
        // A double quote cannot be part of a program path the command line can carry.
        if (s_.editdir.find('"') != std::string::npos)
            throw AppError(kInvalidCall, "エディタのパス「" + s_.editdir + "」が正しくありません。");
        const bool exists = !s_.editdir.empty() && s_.platform.fileExists(text::pathFromUtf8(s_.editdir));
        s_.platform.startProgram(output::editorCommandLine(s_.editdir, exists, s_.startdir));
    } catch (...) {
        s_.message(errorText(std::current_exception()));
        s_.message(output::kEditorHint, platform::Icon::Critical);
    }
}

void EntryPage::openResultsSite() { openInBrowser(s_, std::string("http://") + config::kOperatorHost + "/"); }

void EntryPage::enterNextDraw() {
    // The file may have changed since it was read (in the editor of "登　録"):
    // the form asks for the draw after the file's last one.
    s_.loadWinningNumbers();
    if (s_.msgIsOne() || s_.tdataon == 0) return;
    if (s_.maxn >= history::kMaxDraws) {
        s_.message("atarimgrp.txt には第" + std::to_string(history::kMaxDraws) + "回までしか登録できません。",
                   platform::Icon::Exclamation);
        return;
    }
    const int next = s_.maxn + 1;
    const auto entered = s_.platform.askNewDraw(next);
    if (!entered) return;
    const history::PayoutCheck payout = history::checkPayoutFields(entered->date, entered->winners, entered->prizes);
    if (!payout.problem.empty()) throw AppError(kInvalidCall, payout.problem);
    if (payout.payout.anyKnown()) {
        // The date and payouts go to atarikin.csv through the merge of
        // results files: both files change or neither.
        const history::ImportPlan plan = history::planEntry(s_.historyFile(), next, entered->numbers, payout.payout);
        if (plan.refused()) throw AppError(kInvalidCall, history::problemsText(plan.problems));
        history::commitImport(plan);
    } else {
        history::appendDraw(s_.historyFile(), entered->numbers, next);
    }
    // The new draw in the frame: the selector at its left end.
    s_.loadWinningNumbers();
    frame_.showLatest();
}

}  // namespace kazuban::app
