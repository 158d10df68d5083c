#include "app/form1.h"

namespace kazuban::app {

// Not built yet.
void Form1::SSTab1_Click() {  }
void Form1::buildTotalsGrid() {  }
void Form1::scoreTotalsRow(int) {  }
void Form1::MSFlexGrid2_MouseDown(int) {  }
void Form1::psmnu1_click() {  }
void Form1::psmnu2_click() {  }
void Form1::psmnu3_click() {  }
void Form1::psmnu4_click() {  }
void Form1::psmnu6_click() {  }
void Form1::psmnu7_click() {  }
void Form1::psmnu8_click() {  }
void Form1::psmnu9_click() {  }
void Form1::pbsort(int) {  }
void Form1::pmnucopy2_click() {  }
void Form1::pmnucancell2_click() {  }
void Form1::setupMarkSheetList() {  }
void Form1::clearMarkSheet() {  }
void Form1::drawMarkSheetFigures() {  }
void Form1::copyCombinationsToMarkSheet() {  }
void Form1::markFiveCombinations(int) {  }
void Form1::MSFlexGrid3_Click() {  }
void Form1::buildPredrawGrid() {  }
void Form1::computePredrawAnalysis() {  }
void Form1::MSFlexGrid5_MouseDown(int) {  }
void Form1::ptsmnuSort(int, bool) {  }
void Form1::pmnucopy3_click() {  }
void Form1::pmnucancell3_click() {  }

}  // namespace kazuban::app
