#include "platform/headless_platform.h"

#include <cstdio>

namespace kazuban::platform {

int HeadlessPlatform::messageBox(const std::string& text, Icon icon, Buttons buttons) {
    (void)icon;
    shownMessages.push_back(text);
    if (printMessages) {
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
    return buttons == Buttons::YesNoCancel ? kYes : kOk;
}

std::optional<std::filesystem::path> HeadlessPlatform::openFileDialog(const FileDialogOptions& options) {
    (void)options;
    if (openAnswers.empty()) return std::nullopt;
    std::filesystem::path answer = std::move(openAnswers.front());
    openAnswers.pop_front();
    return answer;
}

std::optional<std::filesystem::path> HeadlessPlatform::saveFileDialog(const FileDialogOptions& options) {
    (void)options;
    return std::nullopt;
}

}  // namespace kazuban::platform
