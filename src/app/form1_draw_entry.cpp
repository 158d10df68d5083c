#include <string>

#include "app/form1.h"
#include "history/add_draw.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::app {

using platform::Buttons;
using platform::Icon;

void Form1::mnuanyuryoku_Click() {
    // The file may have changed since it was read (in the editor of "登　録"):
    // the form asks for the draw after the file's last one.
    loadWinningNumbers();
    if (msgIsOne() || tdataon == 0) return;
    if (maxn >= history::kMaxDraws) {
        msg = platform.messageBox("atarimgrp.txt には第" + std::to_string(history::kMaxDraws) +
                                      "回までしか登録できません。",
                                  Icon::Exclamation, Buttons::Ok);
        return;
    }
    const int next = maxn + 1;
    const auto numbers = platform.askNewDraw(next);
    if (!numbers) return;
    try {
        history::appendDraw(text::pathFromUtf8(startdir) / "atarimgrp.txt", *numbers, next);
    } catch (...) {
        msg = platform.messageBox(errorText(std::current_exception()), Icon::None, Buttons::Ok);
        return;
    }
    // The draw selector at its left end: the new draw shows in the frame.
    HScroll1.value = 1;
    HScroll1_Change();
}

}  // namespace kazuban::app
