#pragma once
// Errors the logic raises. The code tells kinds apart where callers react
// differently; the text is the Japanese description shown to the user as
// "the error's own text".
#include <exception>
#include <stdexcept>
#include <string>

namespace kazuban {

enum ErrorCode : int {
    kInvalidCall = 5,  // invalid procedure call or argument
    kSubscript = 9,    // subscript out of range
    kFileNotFound = 53,
    kPermissionDenied = 70,
    kPathFileAccess = 75,
    kPathNotFound = 76,
};

class AppError : public std::runtime_error {
public:
    AppError(ErrorCode code, std::string text) : std::runtime_error(text), code_(code), text_(std::move(text)) {}
    ErrorCode code() const noexcept { return code_; }
    const std::string& text() const noexcept { return text_; }

private:
    ErrorCode code_;
    std::string text_;
};

// Japanese default texts for each kind, used when no more specific text is known.
std::string defaultErrorText(ErrorCode code);

// The text shown to the user for anything a handler may throw: an AppError's
// own text, the out-of-memory text, otherwise "予期しないエラーが発生しました。"
// followed by what a standard exception says (nothing more for any other).
// Every place that turns an exception into a message uses this one function.
std::string errorText(const std::exception_ptr& error);

}  // namespace kazuban
