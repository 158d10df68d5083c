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
    bool exists = false;
    try {
        // A double quote cannot be part of a program path the command line can carry.
        if (s_.editdir.find('"') != std::string::npos)
            throw AppError(kInvalidCall, "エディタのパス「" + s_.editdir + "」が正しくありません。");
        exists = !s_.editdir.empty() && s_.platform.fileExists(text::pathFromUtf8(s_.editdir));
        s_.platform.startProgram(output::editorCommandLine(s_.editdir, exists, s_.startdir));
    } catch (const AppError& e) {
        // Without an editor of its own the program has tried the system's,
        // and there is none: the player is told to register one, rather than
        // where the history belongs.
        if (!exists && e.code() == kFileNotFound) {
            s_.message(output::noEditorMessage(s_.editdir), platform::Icon::Exclamation);
            return;
        }
        s_.message(e.text());
        s_.message(output::kEditorHint, platform::Icon::Critical);
    } catch (...) {
        s_.message(errorText(std::current_exception()));
        s_.message(output::kEditorHint, platform::Icon::Critical);
    }
}

platform::NewDraw EntryPage::shownFor(int next) const {
    if (typed_ && typedFor_ == next) return *typed_;
    platform::NewDraw shown;
    shown.numbers.fill(0);
    if (const auto date = history::suggestedDate(s_.payouts, next))
        shown.date = history::payoutFieldText(history::kDateField, *date);
    return shown;
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
    const auto entered = s_.platform.askNewDraw(next, shownFor(next));
    if (!entered) return;
    try {
        const history::PayoutCheck payout =
            history::checkPayoutFields(entered->date, entered->winners, entered->prizes);
        if (!payout.problem.empty()) throw AppError(kInvalidCall, payout.problem);
        if (payout.payout.anyKnown()) {
            // The date and payouts go to atarikin.csv through the merge of
            // results files: both files change or neither.
            const history::ImportPlan plan =
                history::planEntry(s_.historyFile(), next, entered->numbers, payout.payout);
            if (plan.refused()) throw AppError(kInvalidCall, history::problemsText(plan.problems));
            history::commitImport(plan);
        } else {
            history::appendDraw(s_.historyFile(), entered->numbers, next);
        }
    } catch (...) {
        // Nothing was written: the form opens with all of it again, so that
        // the player need not type it twice.
        typed_ = *entered;
        typedFor_ = next;
        throw;
    }
    typed_.reset();
    // The new draw in the frame: the selector at its left end.
    s_.loadWinningNumbers();
    frame_.showLatest();
}

}  // namespace kazuban::app
