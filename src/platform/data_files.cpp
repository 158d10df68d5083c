#include "platform/data_files.h"

#include <optional>
#include <string>

#include "platform/system.h"
#include "platform/system_failures.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::platform {

namespace fs = std::filesystem;

namespace {

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

fs::path folderOf(const fs::path& p) {
    const fs::path parent = p.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

}  // namespace

bool isDataFile(const fs::path& target, const std::vector<fs::path>& folders) {
    if (target.empty()) return false;
    const std::optional<FileIdentity> targetId = fileIdentity(target);
    // A new file: which folder it goes to, and under which name.
    std::optional<FileIdentity> targetFolder;
    const std::string targetName = lowerAscii(text::utf8FromPath(target.filename()));
    if (!targetId) targetFolder = fileIdentity(folderOf(target));
    for (const fs::path& folder : folders) {
        if (folder.empty()) continue;
        std::optional<FileIdentity> folderId;
        for (const char* name : kDataFileNames) {
            const std::optional<FileIdentity> dataId = fileIdentity(folder / name);
            if (dataId) {
                if (targetId && *targetId == *dataId) return true;
                continue;
            }
            if (targetId || !targetFolder || targetName != lowerAscii(name)) continue;
            if (!folderId) folderId = fileIdentity(folder);
            if (folderId && *folderId == *targetFolder) return true;
        }
    }
    return false;
}

void checkChosenTarget(const fs::path& target, const std::vector<fs::path>& folders) {
    if (isDataFile(target, folders)) throw AppError(kPathFileAccess, kDataFileRefusal);
    if (isSpecialFile(target)) throwNotOrdinaryTarget(target);
}

}  // namespace kazuban::platform
