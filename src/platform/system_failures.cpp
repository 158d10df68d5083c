#include "platform/system_failures.h"

#include <atomic>

#include "platform/system.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::platform {

namespace {

std::atomic<unsigned long long> g_bytesRead{0};
std::atomic<WriteStepRecorder> g_writeSteps{nullptr};

}  // namespace

std::string reasonText(Reason reason, const std::string& systemText) {
    switch (reason) {
    case Reason::NoPermission: return "アクセス権がありません";
    case Reason::DiskFull: return "ディスクの空きが足りません";
    case Reason::ReadOnly: return "読み取り専用です";
    case Reason::InUse: return "他のプログラムが使用中です";
    case Reason::PathTooLong: return "パスが長すぎます";
    case Reason::NotFound: return "見つかりません";
    case Reason::Other: break;
    }
    return systemText;
}

void throwFileFailure(Failure kind, const std::string& reason, const std::filesystem::path& path, bool writing) {
    const std::string p = text::utf8FromPath(path);
    switch (kind) {
    case Failure::NotFound:
        if (writing)
            throw AppError(kPathNotFound,
                           "パスが見つかりません。ファイル「" + p + "」を書き込めません（" + reason + "）。");
        throw AppError(kFileNotFound, "ファイルが見つかりません。" + p);
    case Failure::PathNotFound: throw AppError(kPathNotFound, "パスが見つかりません。" + p);
    case Failure::AccessDenied:
        if (writing) throw AppError(kPermissionDenied, "ファイル「" + p + "」に書き込めません（" + reason + "）。");
        throw AppError(kPermissionDenied, "ファイル「" + p + "」を読み込めません（" + reason + "）。");
    case Failure::Other: break;
    }
    if (writing) throw AppError(kPathFileAccess, "ファイル「" + p + "」に書き込めません（" + reason + "）。");
    throw AppError(kPathFileAccess, "ファイル「" + p + "」を読み込めません（" + reason + "）。");
}

void throwFolderFailure(Failure kind, const std::string& reason, const std::filesystem::path& folder,
                        const std::filesystem::path& path) {
    if (kind == Failure::NotFound || kind == Failure::PathNotFound)
        throw AppError(kPathNotFound, "パスが見つかりません。フォルダー「" + text::utf8FromPath(folder) +
                                          "」に書き込めません（" + reason + "）。");
    throwFileFailure(kind, reason, path, true);
}

void throwNotOrdinaryFile(const std::filesystem::path& path) {
    throw AppError(kPathFileAccess, "「" + text::utf8FromPath(path) + "」は通常のファイルではないため読み込めません。");
}

void throwNotOrdinaryTarget(const std::filesystem::path& path) {
    throw AppError(kPathFileAccess, "「" + text::utf8FromPath(path) + "」は通常のファイルではないため書き込めません。");
}

void throwTooLarge(const std::filesystem::path& path) {
    throw AppError(kPathFileAccess,
                   "ファイル「" + text::utf8FromPath(path) + "」は大きすぎるため読み込めません（上限 1GB）。");
}

void throwChangedMeanwhile(const std::filesystem::path& path) {
    throw AppError(kPathFileAccess, "ファイル「" + text::utf8FromPath(path) +
                                        "」は書き込み中に他のプログラムによって変更されたため、上書きしませんでした。");
}

void throwDeleteFailure(Failure kind, const std::string& reason, const std::filesystem::path& path) {
    const std::string p = text::utf8FromPath(path);
    switch (kind) {
    case Failure::NotFound:
    case Failure::PathNotFound: throw AppError(kFileNotFound, "ファイルが見つかりません。" + p);
    case Failure::AccessDenied:
        throw AppError(kPermissionDenied, "ファイル「" + p + "」を削除できません（" + reason + "）。");
    case Failure::Other: break;
    }
    throw AppError(kPathFileAccess, "ファイル「" + p + "」を削除できません（" + reason + "）。");
}

void throwDeleteFolder(const std::filesystem::path& path) {
    throw AppError(kPathFileAccess, "「" + text::utf8FromPath(path) + "」はフォルダーのため削除できません。");
}

void throwStartFailure(Failure kind, const std::string& reason, const std::string& program) {
    switch (kind) {
    case Failure::AccessDenied:
        throw AppError(kPermissionDenied, "プログラム「" + program + "」を起動する権限がありません。");
    case Failure::NotFound:
    case Failure::PathNotFound: throw AppError(kFileNotFound, "プログラム「" + program + "」が見つかりません。");
    case Failure::Other: break;
    }
    throw AppError(kPathFileAccess, "プログラム「" + program + "」を起動できません。(" + reason + ")");
}

void countBytesRead(unsigned long long n) { g_bytesRead.fetch_add(n, std::memory_order_relaxed); }

unsigned long long bytesReadFromFiles() { return g_bytesRead.load(std::memory_order_relaxed); }

void setWriteStepRecorder(WriteStepRecorder recorder) { g_writeSteps.store(recorder); }

void noteWriteStep(WriteStep step) {
    if (const WriteStepRecorder recorder = g_writeSteps.load()) recorder(step);
}

}  // namespace kazuban::platform
