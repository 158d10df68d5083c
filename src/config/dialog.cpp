#include "config/dialog.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "config/env_file.h"
#include "output/launcher.h"
#include "text/app_error.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kazuban::config {

namespace fs = std::filesystem;

namespace {

bool isFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(fs::path(path), ec);
}

// A folder path as the boxes show it: normal form, no trailing separator
// (except for a root).
std::string folderText(const std::string& path) {
    fs::path p = fs::path(path).lexically_normal();
    std::string s = p.string();
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\') && p.has_relative_path()) {
        s.pop_back();
        p = fs::path(s);
    }
    return s;
}

#if !defined(_WIN32) && !defined(__APPLE__)
// /proc/mounts writes blanks, tabs, newlines and backslashes as \ooo.
std::string unescapeMountField(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto octal = [&](std::size_t k) { return s[k] >= '0' && s[k] <= '7'; };
        if (s[i] == '\\' && i + 3 < s.size() && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool isSystemMount(const std::string& type, const std::string& dir) {
    static const char* const kPseudoTypes[] = {
        "proc",     "sysfs",   "devtmpfs",  "devpts",     "cgroup",  "cgroup2",   "mqueue",
        "debugfs",  "tracefs", "securityfs", "pstore",    "bpf",     "configfs",  "fusectl",
        "hugetlbfs", "binfmt_misc", "autofs", "efivarfs", "selinuxfs", "nsfs", "rpc_pipefs",
        "tmpfs",    "ramfs",   "squashfs",  "overlay",    "fuse.gvfsd-fuse", "fuse.portal"};
    if (dir == "/") return false;
    for (const char* t : kPseudoTypes)
        if (type == t) return true;
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/lib"}) {
        const std::string p = prefix;
        if (dir == p || dir.starts_with(p + "/")) {
            // Removable media are mounted under /run/media.
            if (dir.starts_with("/run/media/")) return false;
            return true;
        }
    }
    return false;
}
#endif

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

std::vector<std::string> listDrives() {
    std::vector<std::string> drives;
#ifdef _WIN32
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i)) drives.push_back(std::string(1, static_cast<char>('A' + i)) + ":\\");
#elif defined(__APPLE__)
    drives.push_back("/");
    std::error_code ec;
    for (fs::directory_iterator it("/Volumes", ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        if (it->is_directory(ec2) && !it->is_symlink(ec2)) drives.push_back(it->path().string());
    }
    std::sort(drives.begin() + 1, drives.end());
#else
    std::vector<std::string> others;
    std::ifstream mounts("/proc/mounts");
    std::string device, dir, type, rest;
    // Bounded by the file's size: one entry per line.
    while (mounts >> device >> dir >> type) {
        std::getline(mounts, rest);
        dir = unescapeMountField(dir);
        if (dir == "/" || isSystemMount(type, dir) || !isFolder(dir)) continue;
        others.push_back(dir);
    }
    std::sort(others.begin(), others.end());
    others.erase(std::unique(others.begin(), others.end()), others.end());
    drives.push_back("/");
    drives.insert(drives.end(), others.begin(), others.end());
#endif
    return drives;
}

std::string driveOf(const std::string& path, const std::vector<std::string>& drives) {
    std::string best;
    for (const auto& d : drives) {
        if (d.empty() || d.size() <= best.size()) continue;
        const bool endsInSeparator = d.back() == '/' || d.back() == '\\';
        const bool inside = path == d || (path.starts_with(d) && (endsInSeparator || path[d.size()] == '/' ||
                                                                  path[d.size()] == '\\'));
        if (inside) best = d;
    }
    return best;
}

std::vector<std::string> listSubFolders(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> found;   // name, full path
    if (path.empty()) return {};
    std::error_code ec;
    fs::directory_iterator it(fs::path(path), fs::directory_options::skip_permission_denied, ec);
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // Dot folders are the hidden folders of this system.
        if (name.empty() || name.front() == '.') continue;
        std::error_code ec2;
        if (it->is_directory(ec2)) found.emplace_back(name, it->path().string());
    }
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
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    Dir1Path = ec ? std::string(Drive1.empty() ? "/" : Drive1.front()) : folderText(here.string());
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
            readEnvironmentFile(fs::path(settingsDir) / kEnvironmentFileName, ReadRule::Settings);
        Text1 = env.editor();
        Text2 = env.dataFolder();
        Text3 = env.calcSoft();
        Text4 = env.browser();
    } catch (const AppError& e) {
        dialogAnswer = platform_.messageBox(e.text(), platform::Icon::None, platform::Buttons::Ok);
    } catch (const std::exception& e) {
        dialogAnswer = platform_.messageBox(e.what(), platform::Icon::None, platform::Buttons::Ok);
    }
}

void Dialog::Drive1_Change(const std::string& drive) {
    if (!isFolder(drive)) return;   // an unavailable drive leaves the lists as they are
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
    } catch (const AppError& e) {
        failure = e.text();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    dialogAnswer =
        platform_.messageBox(failure + output::kBrowserHint, platform::Icon::Critical, platform::Buttons::Ok);
    escPressesCancel = false;
    closed = true;
}

void Dialog::OKButton_Click(const std::array<std::string, 9>& links) {
    const fs::path file = fs::path(settingsDir) / kEnvironmentFileName;
    // The old file is replaced only once the new one is complete; a file that
    // has gone meanwhile is reported once and a new one is written.
    if (!platform_.fileExists(file.string())) {
        dialogAnswer = platform_.messageBox(defaultErrorText(kFileNotFound) + file.string(),
                                            platform::Icon::None, platform::Buttons::Ok);
    }
    std::optional<std::string> failure;
    try {
        writeEnvironmentFile(file, Text1, Text2, Text3, Text4, links);
    } catch (const AppError& e) {
        failure = e.text();
    } catch (const std::exception& e) {
        failure = e.what();
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
