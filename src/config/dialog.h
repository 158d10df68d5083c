#pragma once
// The settings dialog "環境設定" without a toolkit: the state of its controls
// and its handlers. The window's widget shows this state, calls a handler on
// each user action, then redraws from the state and closes when `closed` is set.
#include <array>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "platform/platform.h"

namespace kazuban::config {

// Captions of the dialog's controls and its about block.
namespace dialog_text {
inline constexpr const char* kDialogCaption = "環境設定";
inline constexpr const char* kLabel1 = "・専用ｴﾃﾞｨﾀの指定　  　　　　　( ﾌｧｲﾙ名は付け足して下さい )";
inline constexpr const char* kLabel2 = "･ ユーザーデータの ｄｉｒ";
inline constexpr const char* kLabel3 =
    "・表計算ｿﾌﾄの指定               ( 123w.exe,Excel.exe など       ﾌｧｲﾙ名を付け足して下さい)";
inline constexpr const char* kLabel13 = "・ ブラウザーの指定";
inline constexpr const char* kOkCaption = "OK";
inline constexpr const char* kCancelCaption = "ｷｬﾝｾﾙ";
// The note (Label12) as the dialog shows it: under the four paths it is
// about, its words together (the classic text's runs of blanks were made for
// a narrow label), and saying what takes effect without a restart.
inline constexpr const char* kRestartNote =
    "=注意=　設定後は Kazuban を再起動して下さい（専用ｴﾃﾞｨﾀ・ユーザーデータの ｄｉｒ・表計算ｿﾌﾄ・ブラウザー）。"
    "最新結果の取得先は OK ですぐに有効になります。";
inline constexpr const char* kLabel4 = "▼ ｿﾌﾄ名";
inline constexpr const char* kLabel5 = "Kazuban   Ver 1.05";
inline constexpr const char* kLabel6 = "▼ 作成者";
inline constexpr const char* kLabel7 = "Kazuban 開発チーム";
inline constexpr const char* kLabel8 = "▼ E-mail";
inline constexpr const char* kLabel9 = "kazuban@kazuban-stats.example";
inline constexpr const char* kLabel10 = "▼ Homepage";
inline constexpr const char* kLabel11Hint = "飛びます!";
inline constexpr const char* kExampleSuffix = " <例>";
// Label11 shows the home page address and opens it when clicked.
inline constexpr const char* kLabel11 = kMakerHomePage;
}  // namespace dialog_text

// Example paths the four boxes hold until the environment file fills them.
std::string exampleEditorPath();
std::string exampleDataFolder();
std::string exampleCalcPath();
std::string exampleBrowserPath();

// The drive list: on Linux the mounted volumes that are real folders ("/"
// first, the others sorted); on Windows the drive roots; on macOS "/" and the
// folders under /Volumes. Never throws.
std::vector<std::string> listDrives();
// The drive of `drives` that holds `path` (the longest matching one); "" when none.
std::string driveOf(const std::string& path, const std::vector<std::string>& drives);
// Full paths of the sub-folders of `path`, sorted by name. An unreadable or
// missing folder gives an empty list; never throws.
std::vector<std::string> listSubFolders(const std::string& path);

class Dialog {
public:
    explicit Dialog(platform::Platform& platform);

    // ---- state ---------------------------------------------------------------
    std::string settingsDir;                 // the main window's startdir, taken at load
    int dialogAnswer = 0;                    // answer of the dialog's last error message box
    std::string Text1, Text2, Text3, Text4;  // editor, data folder, spreadsheet, browser
    std::array<bool, 4> Option1{};           // which box receives the folder picked in Dir1
    std::vector<std::string> Drive1;         // the drive list
    std::string Drive1Drive;                 // the drive chosen in Drive1
    std::string Dir1Path;                    // the folder list's current folder
    std::vector<std::string> Dir1Folders;    // its sub-folders (full paths, sorted)
    bool escPressesCancel = false;           // Esc runs CancelButton_Click while set
    bool closed = false;                     // the dialog has finished; the widget closes

    // The box that Option1(i) feeds (Text1 for 0 ... Text4 for 3).
    std::string& box(int i);

    // ---- handlers ------------------------------------------------------------
    // Reads startdir's Kazuban.ini into the four boxes (every line cut after its
    // first "="). On a load error shows the error's own text; the boxes keep
    // their examples and the dialog stays open.
    void Form_Load(const std::string& startdir);
    // The folder list moves to the chosen drive (runs Dir1_Change).
    void Drive1_Change(const std::string& drive);
    // The folder list moves to `path` (when it is a folder) and the first
    // selected option's box receives it.
    void Dir1_Change(const std::string& path);
    // Opens the maker's home page in the browser (unquoted). On failure shows
    // the error's own text + the browser hint (critical) and closes the dialog.
    void Label11_Click(const std::string& browsdir);
    // Writes Kazuban.ini from the four boxes and the main window's link texts,
    // then closes the dialog.
    void OKButton_Click(const std::array<std::string, 9>& links);
    void CancelButton_Click();

private:
    platform::Platform& platform_;
};

}  // namespace kazuban::config
