#include "support/fake_platform.h"

#include "text/path_text.h"

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

namespace {

std::optional<std::filesystem::path> nextAnswer(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    if (!a) return std::nullopt;
    return text::pathFromUtf8(*a);
}

}  // namespace

std::optional<std::filesystem::path> FakePlatform::openFileDialog(const platform::FileDialogOptions& o) {
    openDialogs.push_back(o);
    return nextAnswer(openAnswers);
}

std::optional<std::filesystem::path> FakePlatform::saveFileDialog(const platform::FileDialogOptions& o) {
    saveDialogs.push_back(o);
    return nextAnswer(saveAnswers);
}

std::optional<platform::NewDraw> FakePlatform::askNewDraw(int drawNumber, const platform::NewDraw& shown) {
    newDrawForms.push_back(drawNumber);
    newDrawShown.push_back(shown);
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
