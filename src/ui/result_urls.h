#pragma once
// Where ◇当選番号 → 最新結果を取得 fetches from: the bank's index file and
// the folder of its per-draw files. The addresses are the user's settings
// (QSettings, beside the window's geometry), never lines of Kazuban.ini.
#include <string>

namespace kazuban::ui {

struct ResultUrls {
    std::string index, folder;
};

// The saved addresses; the bank's published ones where none is saved.
ResultUrls loadResultUrls();
void saveResultUrls(const ResultUrls& urls);

}  // namespace kazuban::ui
