#pragma once
// The pop-up menus of the analysis tabs' tables and charts: a table's rows
// copied to the clipboard (tab-separated) or saved as CSV, a chart saved as a
// PNG picture. Each command runs through the window's command runner, so a
// save that fails says why.
#include <QMenu>
#include <functional>
#include <string>
#include <vector>

#include "app/form1.h"

class QAbstractItemView;

namespace kazuban::ui {

class Chart;

using ExportRows = std::vector<std::vector<std::string>>;

// ｺﾋﾟｰ / 保存（CSV） / ｷｬﾝｾﾙ for `view`, named pmnupopup<suffix>, pmnucopy<suffix>,
// pmnusave<suffix>, pmnucancell<suffix>. `rows(true)` gives the selected rows
// (every row when none is selected) as they are copied; `rows(false)` every
// row; `header()` the CSV's first line.
QMenu* addTableExportMenu(QAbstractItemView* view, app::Form1& form, const char* suffix,
                          std::function<ExportRows(bool selectedOnly)> rows,
                          std::function<std::vector<std::string>()> header);
// 画像を保存（PNG） / ｷｬﾝｾﾙ for `chart`, named pmnupopup<suffix>,
// pmnusave<suffix>, pmnucancell<suffix>.
QMenu* addChartExportMenu(Chart* chart, app::Form1& form, const char* suffix);

}  // namespace kazuban::ui
