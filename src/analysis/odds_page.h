#pragma once
// The state of the tab "確率・検証": the prize amounts and the draw range the
// user chose, and the figures of the last snapshot of the combination table.
#include <chrono>
#include <string>
#include <vector>

#include "analysis/backtest.h"
#include "analysis/combination_values.h"
#include "analysis/odds.h"
#include "history/draw_history.h"

namespace kazuban::analysis {

struct OddsPage {
    Prizes prizes;
    int from = 0, to = 0;  // the back-test range; 0: the whole history at the next snapshot
    int rangeMaxn = 0;     // the history's last draw when the range was set
    int maxn = 0;          // the history's last draw at the last snapshot
    int madeAt = 0;        // the history's last draw when the rows of the snapshot were made (0: not known)
    bool ready = false;    // figures to show (false before the first snapshot and after a refusal)
    std::string message;   // why there are no figures: the refused row's message
    std::vector<ComboMask> combos;
    Odds odds;
    Backtest backtest;
    // Rises with every change of the above, so a view redraws only then.
    int revision = 0;
    // Work that takes longer than this shows the progress bar.
    std::chrono::milliseconds progressDelay{100};
};

// Takes the snapshot of the table's texts (rows 1..1000) and works out the
// odds and the back-test. A range that still fits the history is kept (one
// that ended at the last draw follows the history's growth); otherwise the
// range becomes the whole history. A refused row leaves no figures and its
// message in page.message.
SnapshotStatus refreshOddsPage(OddsPage& page, const std::vector<std::string>& texts,
                               const history::DrawHistory& history, const ProgressFn& progress = {});

// A new range for the back-test, worked out again at once when there are
// figures. False (nothing changes) when the range does not fit the history.
bool setOddsRange(OddsPage& page, int from, int to, const history::DrawHistory& history,
                  const ProgressFn& progress = {});

// A prize amount typed on the tab (grade 1..4). False (nothing changes) for an
// amount outside 0..10,000,000,000 yen or a grade outside 1..4.
bool setPrize(OddsPage& page, int grade, std::int64_t yen);

// Whether the back-test range reaches back to draws the rows could have been
// built from (the range starts at or before page.madeAt): hits there may be
// hindsight, not foresight.
bool rangeReachesMadeRows(const OddsPage& page);
// The note beside such a range, in one sentence; "" when the range does not
// reach back.
std::string hindsightNote(const OddsPage& page);
// The draws after the rows were made, madeAt + 1 .. the last draw; false when
// there are none yet.
bool rangeAfterMadeRows(const OddsPage& page, int& from, int& to);

// The explanation shown on the tab.
extern const char* const kOddsExplanation;

}  // namespace kazuban::analysis
