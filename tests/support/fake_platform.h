#pragma once
// A scripted Platform for tests: answers message boxes and dialogs from
// queues, records every message shown, keeps the clipboard in memory.
#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "output/print_document.h"
#include "platform/platform.h"

namespace kazuban::testing {

struct ShownMessage {
    std::string text;
    platform::Icon icon;
    platform::Buttons buttons;
};

class FakePlatform : public platform::Platform {
public:
    // Answers for the next message boxes; when empty, OK (1) for Ok/OkCancel
    // and Cancel (2) for YesNoCancel.
    std::deque<int> answers;
    // Results of the next file dialogs; nullopt = Cancel. When empty: Cancel.
    std::deque<std::optional<std::string>> openAnswers, saveAnswers;
    std::vector<ShownMessage> messages;
    std::vector<platform::FileDialogOptions> openDialogs, saveDialogs;
    std::string clipboard;
    std::vector<std::string> startedPrograms;     // command lines given to startProgram
    bool startForReal = false;                    // also run the default startProgram
    std::vector<output::PrintDocument> previews;  // every document shown in the print preview
    // The entry form of a new draw: the draw numbers it was opened for, and
    // what it showed as it opened, and its answer (none: Cancel).
    std::vector<int> newDrawForms;
    std::vector<platform::NewDraw> newDrawShown;
    std::function<std::optional<platform::NewDraw>(int drawNumber)> onNewDraw;
    int busyDepth = 0;
    bool progressVisible = false;
    int progressMin = 0, progressMax = 0, progressValue = 0;
    int progressShows = 0;

    int messageBox(const std::string& text, platform::Icon icon, platform::Buttons buttons) override;
    std::optional<std::filesystem::path> openFileDialog(const platform::FileDialogOptions& o) override;
    std::optional<std::filesystem::path> saveFileDialog(const platform::FileDialogOptions& o) override;
    std::string clipboardText() override { return clipboard; }
    void setClipboardText(const std::string& t) override { clipboard = t; }
    void clearClipboard() override { clipboard.clear(); }
    void showPrintPreview(const output::PrintDocument& d) override { previews.push_back(d); }
    std::optional<platform::NewDraw> askNewDraw(int drawNumber, const platform::NewDraw& shown) override;
    void startProgram(const std::string& commandLine) override;
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    void showProgress(int mn, int mx) override {
        progressVisible = true;
        progressMin = mn;
        progressMax = mx;
        ++progressShows;
    }
    void setProgress(int v) override { progressValue = v; }
    void hideProgress() override { progressVisible = false; }

    // Texts of all messages shown so far.
    std::vector<std::string> messageTexts() const;
};

}  // namespace kazuban::testing
