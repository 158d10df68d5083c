#include <cstdio>
#include <filesystem>
#include <string>

#include "commands.h"
#include "text/app_error.h"
#include "text/line_file.h"

namespace kazuban::cli {

int emitResult(const Context& ctx, const std::string& text, bool appendFinalCrLf) {
    // Standard output gets the same text as the file, in UTF-8 instead of cp932.
    std::string all = text;
    if (appendFinalCrLf) all += "\r\n";
    if (!ctx.out) {
        const bool written = std::fwrite(all.data(), 1, all.size(), stdout) == all.size();
        if (std::fflush(stdout) != 0 || !written) {
            std::fputs("標準出力に書き込めません。\n", stderr);
            return 2;
        }
        return 0;
    }
    try {
        const std::string& out = *ctx.out;
        text::writeTextCp932(std::filesystem::path(std::u8string(out.begin(), out.end())), all);
    } catch (const AppError& e) {
        std::fprintf(stderr, "%s\n", e.text().c_str());
        return 2;
    }
    return 0;
}

}  // namespace kazuban::cli
