#include "support/fake_platform.h"

namespace kazuban::testing {

int FakePlatform::messageBox(const std::string& text, platform::Icon icon, platform::Buttons buttons) {
    messages.push_back({text, icon, buttons});
    if (!answers.empty()) {
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == platform::Buttons::YesNoCancel ? platform::kCancel : platform::kOk;
}

std::optional<std::string> FakePlatform::openFileDialog(const platform::FileDialogOptions& o) {
    openDialogs.push_back(o);
    if (openAnswers.empty()) return std::nullopt;
    auto a = openAnswers.front();
    openAnswers.pop_front();
    return a;
}

std::optional<std::string> FakePlatform::saveFileDialog(const platform::FileDialogOptions& o) {
    saveDialogs.push_back(o);
    if (saveAnswers.empty()) return std::nullopt;
    auto a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
}

void FakePlatform::showPopupMenu(platform::PopupMenu m) {
    popups.push_back(m);
    if (onPopup) onPopup(m);
}

void FakePlatform::showSettingsDialog() {
    ++settingsDialogs;
    if (onSettingsDialog) onSettingsDialog();
}

std::optional<std::array<int, 6>> FakePlatform::askNewDraw(int drawNumber) {
    newDrawForms.push_back(drawNumber);
    if (!onNewDraw) return std::nullopt;
    return onNewDraw(drawNumber);
}

void FakePlatform::startProgram(const std::string& commandLine) {
    startedPrograms.push_back(commandLine);
    if (startForReal) platform::Platform::startProgram(commandLine);
}

std::vector<std::string> FakePlatform::messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

}  // namespace kazuban::testing
