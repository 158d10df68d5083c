#pragma once
// Tab 3 "ネット利用分析": nine analysis links that open in the browser, and
// their editing (one link at a time), saved into Kazuban.ini.
#include <array>
#include <string>

#include "app/state.h"
#include "views/links.h"

namespace kazuban::app {

class LinksPage {
public:
    explicit LinksPage(State& state) : s_(state) {}

    const views::LinkControls& controls() const { return links_; }
    const std::array<std::string, 9>& texts() const { return links_.Text1; }
    // The texts read from Kazuban.ini at start-up.
    void setTexts(const std::array<std::string, 9>& texts) { links_.Text1 = texts; }

    void refreshLinks();                                    // the entry steps: back to browsing
    void Command1_Click(int index);                         // Go! + the label of link `index`
    void Option1_Click(int index);                          // the edit toggle beside link `index`
    void Text1_Change(int index, const std::string& text);  // a link text typed
    void Command2_Click();                                  // 編集を保存
    void Command7_Click();                                  // キャンセル
    void Command8_Click();                                  // 初期値に戻す

private:
    State& s_;
    views::LinkControls links_;
};

}  // namespace kazuban::app
