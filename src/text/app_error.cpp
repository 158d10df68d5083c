#include "text/app_error.h"

#include <new>

#include "text/line_text.h"

namespace kazuban {

std::string defaultErrorText(ErrorCode code) {
    switch (code) {
    case kInvalidCall: return "プロシージャの呼び出し、または引数が不正です。";
    case kSubscript: return "インデックスが有効範囲にありません。";
    case kFileNotFound: return "ファイルが見つかりません。";
    case kPermissionDenied: return "書き込みできません。";
    case kPathFileAccess: return "パス名が無効です。";
    case kPathNotFound: return "パスが見つかりません。";
    }
    return "エラーが発生しました。（エラー番号 " + std::to_string(static_cast<int>(code)) + "）";
}

std::string errorText(const std::exception_ptr& error) {
    constexpr const char* kUnexpected = "予期しないエラーが発生しました。";
    if (!error) return kUnexpected;
    try {
        std::rethrow_exception(error);
    } catch (const AppError& e) {
        return e.text();
    } catch (const std::bad_alloc&) {
        return "メモリが不足しています。";
    } catch (const std::exception& e) {
        // A library's own text may hold bytes of a path in another encoding.
        return kUnexpected + text::sanitizeUtf8(e.what());
    } catch (...) {
        return kUnexpected;
    }
}

}  // namespace kazuban
