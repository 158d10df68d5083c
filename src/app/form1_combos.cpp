#include "app/form1.h"

namespace kazuban::app {

// Not built yet.
void Form1::buildCombinationTable() {  }
int Form1::hasCombinationData() const { return 0; }
int Form1::validateCombinations() { return 0; }
void Form1::recalculateCombinationTable() {  }
void Form1::showPrizeCounts(int) {  }
std::optional<int> Form1::askClearOrAppend() { return std::nullopt; }
void Form1::evaluateWinEntries() {  }
int Form1::winEntryLastColumn() const { return 0; }
void Form1::mnudopen_Click() {  }
void Form1::mnudsave_Click() {  }
void Form1::mnu10mk_Click() {  }
void Form1::mnu5mk_Click() {  }
bool Form1::generateCombinations(int, int) { return false; }
void Form1::MSFlexGrid1_MouseDown(int) {  }
void Form1::pmnucopy_click() {  }
void Form1::pmnupaste_click() {  }
void Form1::pmnudelete_click() {  }
void Form1::pmnucancell_click() {  }
void Form1::Command5_Click() {  }
void Form1::Command3_Click() {  }
void Form1::Command4_Click() {  }
void Form1::Command6_Click() {  }
void Form1::sortCombinations() {  }
void Form1::reverseWinEntries() {  }
void Form1::clearAllData() {  }
void Form1::HScroll1_Change() {  }
void Form1::showDraw(int) {  }

}  // namespace kazuban::app
