#pragma once
// Errors the logic raises. The code tells kinds apart where callers react
// differently; the text is the Japanese description shown to the user as
// "the error's own text".
#include <stdexcept>
#include <string>

namespace kazuban {

enum ErrorCode : int {
    kInvalidCall = 5,       // invalid procedure call or argument
    kSubscript = 9,         // subscript out of range
    kFileNotFound = 53,
    kPermissionDenied = 70,
    kPathFileAccess = 75,
    kPathNotFound = 76,
};

class AppError : public std::runtime_error {
public:
    AppError(int code, std::string text) : std::runtime_error(text), code_(code), text_(std::move(text)) {}
    int code() const noexcept { return code_; }
    const std::string& text() const noexcept { return text_; }

private:
    int code_;
    std::string text_;
};

// Japanese default texts for each kind, used when no more specific text is known.
std::string defaultErrorText(int code);

}  // namespace kazuban
