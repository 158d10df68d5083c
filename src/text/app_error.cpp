#include "text/app_error.h"

namespace kazuban {

std::string defaultErrorText(int code) {
    switch (code) {
    case kInvalidCall: return "プロシージャの呼び出し、または引数が不正です。";
    case kSubscript: return "インデックスが有効範囲にありません。";
    case kFileNotFound: return "ファイルが見つかりません。";
    case kPermissionDenied: return "書き込みできません。";
    case kPathFileAccess: return "パス名が無効です。";
    case kPathNotFound: return "パスが見つかりません。";
    default: return "エラーが発生しました。（エラー番号 " + std::to_string(code) + "）";
    }
}

}  // namespace kazuban
