#include <algorithm>
#include <exception>
#include <filesystem>

#include "app/form1.h"
#include "config/env_file.h"
#include "config/hosts.h"
#include "output/launcher.h"
#include "output/layouts.h"
#include "output/printing.h"
#include "platform/line_file.h"
#include "text/app_error.h"
#include "text/path_text.h"
#include "views/links.h"

namespace kazuban::app {

using platform::Buttons;
using platform::Icon;

namespace {

// Writes a print file in the start-up folder and opens it in the spreadsheet
// program; each failed step shows its message and the next step runs.
void printFile(Form1& f, const char* fileName, const std::string& text) {
    const std::filesystem::path path = text::pathFromUtf8(f.startdir) / fileName;
    output::printThroughSpreadsheet(f.platform, f.calcdir, path, text, [&](const AppError& e) {
        f.msg = f.platform.messageBox(output::printFailureMessage(e, fileName), Icon::None, Buttons::Ok);
        f.msg = 0;
    });
}

// Starts the browser on a URL; a failure shows the error's own text and the hint.
void openInBrowser(Form1& f, const std::string& url) {
    try {
        f.platform.startProgram(output::browserCommandLine(f.browsdir, url));
    } catch (...) {
        f.msg = f.platform.messageBox(errorText(std::current_exception()) + output::kBrowserHint, Icon::Critical,
                                      Buttons::Ok);
    }
}

}  // namespace

// ---- CSV export and printing ---------------------------------------------------

void Form1::pmnusave_click() {
    const std::string text = output::layoutA(MSFlexGrid1, 0);
    const auto chosen = platform.saveFileDialog(output::csvSaveDialogOptions(datadir));
    if (!chosen || chosen->empty()) return;
    try {
        platform::writeTextCp932(text::pathFromUtf8(*chosen), output::withFinalCrLf(text));
    } catch (...) {
        // A save that did not happen is never passed over in silence.
        msg = platform.messageBox(errorText(std::current_exception()), Icon::None, Buttons::Ok);
    }
}

void Form1::pmnuprt_click() { printFile(*this, output::kTablePrintFile, output::layoutA(MSFlexGrid1, 2)); }

void Form1::pmnuprt2_click() { printFile(*this, output::kViewPrintFile, output::layoutB(MSFlexGrid2, 1000, 1)); }

void Form1::pmnuprt3_click() {
    // The view holds the draws of the analysis; draws added since then have no row.
    const int lastRow = std::max(-1, std::min(maxn - 50, MSFlexGrid5.rows() - 1));
    printFile(*this, output::kViewPrintFile, output::layoutB(MSFlexGrid5, lastRow, 0));
}

// ---- registration and online fetch ---------------------------------------------

void Form1::mnuatoroku_Click() {
    try {
        // A double quote cannot be part of a program path the command line can carry.
        if (editdir.find('"') != std::string::npos)
            throw AppError(kInvalidCall, "エディタのパス「" + editdir + "」が正しくありません。");
        const bool exists = !editdir.empty() && platform.fileExists(editdir);
        platform.startProgram(output::editorCommandLine(editdir, exists, startdir));
    } catch (...) {
        msg = platform.messageBox(errorText(std::current_exception()), Icon::None, Buttons::Ok);
        msg = platform.messageBox(output::kEditorHint, Icon::Critical, Buttons::Ok);
    }
}

void Form1::mnuanet_Click() { openInBrowser(*this, std::string("http://") + config::kOperatorHost + "/"); }

// ---- analysis links (tab 3) ----------------------------------------------------

void Form1::refreshLinks() { views::refreshLinks(links); }

void Form1::Command1_Click(int index) {
    if (index < 0 || index >= config::kLinkCount) return;
    const std::string url = views::linkUrl(links.Text1[static_cast<std::size_t>(index)]);
    if (!views::isWebAddress(url)) {
        msg = platform.messageBox(views::notWebAddressMessage(index), Icon::Exclamation, Buttons::Ok);
        return;
    }
    openInBrowser(*this, url);
}

void Form1::Option1_Click(int index) { views::editLink(links, index); }

void Form1::Command7_Click() { views::endLinkEditing(links); }

void Form1::Command2_Click() {
    const int bad = views::firstInvalidLink(links.Text1);
    if (bad >= 0) {
        platform.messageBox(views::invalidLinkMessage(bad), Icon::Exclamation, Buttons::Ok);
        return;
    }
    try {
        config::writeEnvironmentFile(text::pathFromUtf8(mydir) / config::kEnvironmentFileName, editdir, datadir,
                                     calcdir, browsdir, links.Text1);
    } catch (...) {
        // The old file stays whole; the program goes on and the links stay in
        // editing, so the user can try again.
        msg = platform.messageBox(errorText(std::current_exception()), Icon::None, Buttons::Ok);
        return;
    }
    views::endLinkEditing(links);
}

void Form1::Command8_Click() {
    links.Text1 = config::defaultLinks();
    Command2_Click();
}

}  // namespace kazuban::app
