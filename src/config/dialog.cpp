#include "config/dialog.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "config/env_file.h"
#include "output/launcher.h"
#include "platform/system.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::config {

namespace fs = std::filesystem;

namespace {

bool isFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(text::pathFromUtf8(path), ec);
}

// A folder path as the boxes show it: normal form, no trailing separator
// (except for a root).
std::string folderText(const std::string& path) {
    fs::path p = text::pathFromUtf8(path).lexically_normal();
    std::string s = text::utf8FromPath(p);
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\') && p.has_relative_path()) {
        s.pop_back();
        p = text::pathFromUtf8(s);
    }
    return s;
}

}  // namespace

std::string exampleEditorPath() {
#ifdef _WIN32
    return std::string("C:\\Windows\\notepad.exe") + dialog_text::kExampleSuffix;
#else
    return std::string("/usr/bin/gedit") + dialog_text::kExampleSuffix;
#endif
}

std::string exampleDataFolder() {
#ifdef _WIN32
    return std::string("C:\\Kazuban\\data") + dialog_text::kExampleSuffix;
#else
    return std::string("/home/user/kazuban") + dialog_text::kExampleSuffix;
#endif
}

std::string exampleCalcPath() {
#ifdef _WIN32
    return std::string("C:\\Program Files\\Microsoft Office\\Office\\EXCEL.EXE") + dialog_text::kExampleSuffix;
#else
    return std::string("/usr/bin/localc") + dialog_text::kExampleSuffix;
#endif
}

std::string exampleBrowserPath() {
#ifdef _WIN32
    return std::string("C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE") + dialog_text::kExampleSuffix;
#else
    return std::string("/usr/bin/firefox") + dialog_text::kExampleSuffix;
#endif
}

std::vector<std::string> listDrives() { return platform::driveList(); }

std::string driveOf(const std::string& path, const std::vector<std::string>& drives) {
    std::string best;
    for (const auto& d : drives) {
        if (d.empty() || d.size() <= best.size()) continue;
        const bool endsInSeparator = d.back() == '/' || d.back() == '\\';
        const bool inside =
            path == d || (path.starts_with(d) && (endsInSeparator || path[d.size()] == '/' || path[d.size()] == '\\'));
        if (inside) best = d;
    }
    return best;
}

std::vector<std::string> listSubFolders(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> found;  // name, full path
    if (path.empty()) return {};
    for (const fs::path& folder : platform::visibleSubFolders(text::pathFromUtf8(path)))
        found.emplace_back(text::utf8FromPath(folder.filename()), text::utf8FromPath(folder));
    std::sort(found.begin(), found.end());
    std::vector<std::string> out;
    out.reserve(found.size());
    for (auto& f : found) out.push_back(std::move(f.second));
    return out;
}

Dialog::Dialog(platform::Platform& platform)
    : Text1(exampleEditorPath()),
      Text2(exampleDataFolder()),
      Text3(exampleCalcPath()),
      Text4(exampleBrowserPath()),
      Drive1(listDrives()),
      platform_(platform) {
    const fs::path here = platform::currentFolder();
    Dir1Path = here.empty() ? std::string(Drive1.empty() ? "/" : Drive1.front()) : folderText(text::utf8FromPath(here));
    Dir1Folders = listSubFolders(Dir1Path);
    Drive1Drive = driveOf(Dir1Path, Drive1);
}

std::string& Dialog::box(int i) {
    switch (i) {
    case 0: return Text1;
    case 1: return Text2;
    case 2: return Text3;
    default: return Text4;
    }
}

void Dialog::Form_Load(const std::string& startdir) {
    escPressesCancel = true;
    settingsDir = startdir;
    try {
        const EnvironmentSlots env =
            readEnvironmentFile(text::pathFromUtf8(settingsDir) / kEnvironmentFileName, ReadRule::Settings);
        Text1 = env.editor();
        Text2 = env.dataFolder();
        Text3 = env.calcSoft();
        Text4 = env.browser();
    } catch (...) {
        dialogAnswer =
            platform_.messageBox(errorText(std::current_exception()), platform::Icon::None, platform::Buttons::Ok);
    }
}

void Dialog::Drive1_Change(const std::string& drive) {
    if (!isFolder(drive)) return;  // an unavailable drive leaves the lists as they are
    Drive1Drive = drive;
    Dir1_Change(drive);
}

void Dialog::Dir1_Change(const std::string& path) {
    if (!isFolder(path)) return;
    Dir1Path = folderText(path);
    Dir1Folders = listSubFolders(Dir1Path);
    const std::string drive = driveOf(Dir1Path, Drive1);
    if (!drive.empty()) Drive1Drive = drive;
    for (int i = 0; i < 4; ++i) {
        if (Option1[static_cast<std::size_t>(i)]) {
            box(i) = Dir1Path;
            break;
        }
    }
}

void Dialog::Label11_Click(const std::string& browsdir) {
    std::string failure;
    try {
        platform_.startProgram(output::homePageCommandLine(browsdir, kMakerHomePage));
        return;
    } catch (...) {
        failure = errorText(std::current_exception());
    }
    dialogAnswer =
        platform_.messageBox(failure + output::kBrowserHint, platform::Icon::Critical, platform::Buttons::Ok);
    escPressesCancel = false;
    closed = true;
}

void Dialog::OKButton_Click(const std::array<std::string, 9>& links) {
    const fs::path file = text::pathFromUtf8(settingsDir) / kEnvironmentFileName;
    const std::string fileText = text::utf8FromPath(file);
    // The old file is replaced only once the new one is complete; a file that
    // has gone meanwhile is reported once and a new one is written.
    if (!platform_.fileExists(file)) {
        dialogAnswer = platform_.messageBox(defaultErrorText(kFileNotFound) + fileText, platform::Icon::None,
                                            platform::Buttons::Ok);
    }
    std::optional<std::string> failure;
    try {
        writeEnvironmentFile(file, Text1, Text2, Text3, Text4, links);
    } catch (...) {
        failure = errorText(std::current_exception());
    }
    if (failure) {
        // Shown at once, then once more as the dialog closes.
        dialogAnswer = platform_.messageBox(*failure, platform::Icon::None, platform::Buttons::Ok);
        dialogAnswer = platform_.messageBox(*failure, platform::Icon::None, platform::Buttons::Ok);
    }
    escPressesCancel = false;
    closed = true;
}

void Dialog::CancelButton_Click() {
    escPressesCancel = false;
    closed = true;
}

}  // namespace kazuban::config
