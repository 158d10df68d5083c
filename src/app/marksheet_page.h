#pragma once
// Tab 2 "マークシート図": the list of the table's combinations
// (MSFlexGrid3) and five mark sheets (MSFlexGrid4(0..4)) that black out the
// numbers of five combinations, with four figures under each.
#include <array>

#include "app/command_runner.h"
#include "app/state.h"
#include "views/marksheet.h"

namespace kazuban::app {

class MarkSheetPage : public ChangeObserver {
public:
    explicit MarkSheetPage(State& state);

    TextGrid& list() { return MSFlexGrid3_; }
    const TextGrid& list() const { return MSFlexGrid3_; }
    TextGrid& figure(int k) { return MSFlexGrid4_[static_cast<std::size_t>(k)]; }
    const TextGrid& figure(int k) const { return MSFlexGrid4_[static_cast<std::size_t>(k)]; }
    const views::MarkSheetControls& controls() const { return controls_; }

    void setupMarkSheetList();
    void clearMarkSheet();
    void drawMarkSheetFigures();
    // AC empties the list, the figures and their rates; the win counts stay.
    void clearAfterAllClear();
    // The entry steps of the tab: the list takes the table's combinations,
    // the figures start blank.
    void enter();
    // A click on the list: the five combinations from the clicked one on.
    void MSFlexGrid3_Click();

    void changed(const Changes& changes) override;

private:
    void markFiveCombinations(int first);
    // The four figures under the sheets of the five combinations from `first` on.
    void countFigures(int first);
    bool listMatchesTable() const;

    State& s_;
    TextGrid MSFlexGrid3_;
    std::array<TextGrid, 5> MSFlexGrid4_;
    views::MarkSheetControls controls_;
    int markedFirst_ = 0;  // the list row the marked sheets start at, 0 when none is marked
};

}  // namespace kazuban::app
