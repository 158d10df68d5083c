// Undo and redo of the combination table.
#include "app/form1.h"

namespace kazuban::app {

namespace {

// The texts are back; their win entries and the views built from them follow
// as after "￥", and a view on screen is rebuilt from the table.
void afterRestore(Form1& f) {
    f.Command5_Click();
    if (f.SSTab1 == kTabTotals || f.SSTab1 == kTabMarkSheet) f.SSTab1_Click();
}

}  // namespace

void Form1::mnuundo_Click() {
    if (undoHistory.undo(MSFlexGrid1)) afterRestore(*this);
}

void Form1::mnuredo_Click() {
    if (undoHistory.redo(MSFlexGrid1)) afterRestore(*this);
}

}  // namespace kazuban::app
