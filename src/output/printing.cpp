#include "output/printing.h"

#include "output/launcher.h"
#include "output/layouts.h"
#include "platform/line_file.h"
#include "text/path_text.h"

namespace kazuban::output {

platform::FileDialogOptions csvSaveDialogOptions(const std::filesystem::path& datadir) {
    platform::FileDialogOptions o;
    o.filter = kCsvFilter;
    o.defaultExtension = "csv";
    o.initialFolder = datadir;
    o.confirmOverwrite = true;
    return o;
}

std::string closePrintFileMessage(const std::string& fileName) {
    return "別名ﾌｧｲﾙで保存し、" + fileName + "を一旦閉じて下さい｡";
}

std::string printFailureMessage(const AppError& error, const std::string& printFileName) {
    switch (error.code()) {
    case kInvalidCall: return kResetPathsMessage;
    case kPermissionDenied: return closePrintFileMessage(printFileName);
    default: return error.text();
    }
}

AppError asAppError(const std::exception_ptr& error) {
    if (error) try {
            std::rethrow_exception(error);
        } catch (const AppError& e) {
            return e;
        } catch (...) {}
    return AppError(kPathFileAccess, errorText(error));
}

void printThroughSpreadsheet(platform::Platform& platform, const std::string& calcdir,
                             const std::filesystem::path& path, const std::string& text,
                             const std::function<void(const AppError&)>& onFailure) {
    const std::string p = text::utf8FromPath(path);
    auto step = [&](auto&& action) {
        try {
            action();
        } catch (...) {
            onFailure(asAppError(std::current_exception()));
        }
    };
    // The old print file may be hidden or read-only from an earlier print.
    // It is not deleted: the atomic write replaces it only once the new
    // text is complete.
    step([&] {
        if (platform.fileExists(path)) platform.setNormalAttributes(path);
    });
    step([&] {
        try {
            platform::writeTextCp932(path, withFinalCrLf(text));
        } catch (const AppError& e) {
            // Only the program start tells a wrong path by an invalid call: a
            // cell that cp932 cannot hold is reported by its own text.
            if (e.code() == kInvalidCall) throw AppError(kPathFileAccess, e.text());
            throw;
        }
    });
    // A spreadsheet path that names no program, or one that may not be run,
    // is a wrong setting, not a locked print file: it gets the
    // re-set-the-paths message.
    step([&] {
        try {
            platform.startProgram(spreadsheetCommandLine(calcdir, p));
        } catch (const AppError& e) {
            if (e.code() == kPermissionDenied || e.code() == kFileNotFound) throw AppError(kInvalidCall, e.text());
            throw;
        }
    });
    step([&] { platform.setHiddenAttribute(path); });
}

}  // namespace kazuban::output
