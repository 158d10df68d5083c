#pragma once
// CSV export of the combination table and printing through the user's
// spreadsheet program: the grid's text is written to a print file in the
// start-up folder, the spreadsheet program is started on it, and the file is
// then marked hidden.
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "text/app_error.h"

namespace kazuban::output {

inline constexpr const char* kCsvFilter = "csv(*.csv)|*.csv|全て|*.*";
inline constexpr const char* kTablePrintFile = "tmptxt.csv";  // the combination table
inline constexpr const char* kViewPrintFile = "tmptxt2.csv";  // the totals and pre-draw views
inline constexpr const char* kResetPathsMessage = "環境設定でﾊﾟｽの再設定をして下さい｡";

// The save dialog of the CSV export: initial folder datadir (the dialog's own
// default when empty), default extension "csv", overwrite confirmation.
platform::FileDialogOptions csvSaveDialogOptions(const std::filesystem::path& datadir);

// "別名ﾌｧｲﾙで保存し、" + fileName + "を一旦閉じて下さい｡"
std::string closePrintFileMessage(const std::string& fileName);
// The message a print command shows when one of its steps fails: the path
// message for an invalid call (an unusable spreadsheet path), the close-the-file
// message for a print file that cannot be replaced, otherwise the error's own text.
std::string printFailureMessage(const AppError& error, const std::string& printFileName);

// Any exception of a step as an AppError: an AppError as it is, anything else
// as kPathFileAccess with the text errorText gives it.
AppError asAppError(const std::exception_ptr& error);

// The print steps on a text built beforehand: the file at `path` receives
// text + CR LF (cp932, atomically: the old file stays whole until the new one
// is complete), the spreadsheet program starts with calcdir + " " + path, and
// the file is marked hidden. A failing step reports to `onFailure` and the
// next step still runs.
void printThroughSpreadsheet(platform::Platform& platform, const std::string& calcdir,
                             const std::filesystem::path& path, const std::string& text,
                             const std::function<void(const AppError&)>& onFailure);

}  // namespace kazuban::output
