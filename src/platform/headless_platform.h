#pragma once
// A Platform without a window, for the CLI: message boxes go to standard
// error and answer OK (Yes/No/Cancel questions answer Yes); the open dialog
// answers the file named beforehand; the clipboard lives in memory.
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kazuban::platform {

class HeadlessPlatform : public Platform {
public:
    std::deque<std::filesystem::path> openAnswers;  // files the next open dialogs choose
    std::vector<std::string> shownMessages;
    bool printMessages = true;  // echo messages to standard error

    int messageBox(const std::string& text, Icon icon, Buttons buttons) override;
    std::optional<std::filesystem::path> openFileDialog(const FileDialogOptions& options) override;
    std::optional<std::filesystem::path> saveFileDialog(const FileDialogOptions& options) override;
    std::string clipboardText() override { return clipboard_; }
    void setClipboardText(const std::string& text) override { clipboard_ = text; }
    void clearClipboard() override { clipboard_.clear(); }
    void startProgram(const std::string&) override {}

private:
    std::string clipboard_;
};

}  // namespace kazuban::platform
