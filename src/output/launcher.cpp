#include "output/launcher.h"

#include "platform/system.h"
#include "text/path_text.h"

namespace kazuban::output {

std::string browserCommandLine(const std::string& browsdir, const std::string& url) {
    // A double quote is no character of a URL; written as %22 it cannot end
    // the quoting early and hand the browser text of its own as options.
    std::string safe;
    safe.reserve(url.size());
    for (char c : url) {
        if (c == '"') safe += "%22";
        else safe += c;
    }
    const std::string quoted = "\"" + safe + "\"";
    if (browsdir.empty()) return std::string(platform::kFallbackBrowser) + " " + quoted;
    return browsdir + " " + quoted;
}

std::string homePageCommandLine(const std::string& browsdir, const std::string& url) {
    if (browsdir.empty()) return std::string(platform::kFallbackBrowser) + " " + url;
    return browsdir + " " + url;
}

std::string editorCommandLine(const std::string& editdir, bool editorExists, const std::filesystem::path& startdir) {
    const std::string file = text::utf8FromPath(startdir / "atarimgrp.txt");
    if (editdir.empty() || !editorExists) return std::string(platform::kFallbackEditor) + " " + file;
    return editdir + " " + file;
}

std::string noEditorMessage(const std::string& editdir) {
    const std::string missing = editdir.empty() ? std::string() : "専用ｴﾃﾞｨﾀ「" + editdir + "」が見つかりません。\n";
    return missing +
           "atarimgrp.txt を開けるエディタがありません。\n"
           "◇環境 → 設定 の「専用ｴﾃﾞｨﾀの指定」に、エディタをﾌｧｲﾙ名まで入れて登録して下さい。";
}

std::string spreadsheetCommandLine(const std::string& calcdir, const std::string& path) {
    // Without a spreadsheet program the desktop opens the print file with its
    // default program for CSV files.
    if (calcdir.find_first_not_of(" \t") == std::string::npos) return desktopOpener() + " " + path;
    return calcdir + " " + path;
}

std::string desktopOpener() {
    const std::string opener = platform::systemOpener();
    return opener.empty() ? std::string("explorer.exe") : opener;
}

}  // namespace kazuban::output
