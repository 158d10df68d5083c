// The print preview of the combination table and the two analysis views.
#include "app/form1.h"
#include "output/print_document.h"

namespace kazuban::app {

void Form1::pmnupreview_click() {
    platform.showPrintPreview(output::combinationTableDocument(MSFlexGrid1, winEntryLastColumn(), maxn));
}

void Form1::pmnupreview2_click() {
    platform.showPrintPreview(output::viewDocument(MSFlexGrid2, output::kTotalsTitle, maxn));
}

void Form1::pmnupreview3_click() {
    platform.showPrintPreview(output::viewDocument(MSFlexGrid5, output::kPredrawTitle, maxn));
}

}  // namespace kazuban::app
