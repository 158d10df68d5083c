#include <cstdio>
#include <exception>
#include <string>

#include "commands.h"
#include "platform/data_files.h"
#include "platform/line_file.h"
#include "text/app_error.h"
#include "text/path_text.h"

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
        const auto target = text::pathFromUtf8(*ctx.out);
        platform::checkChosenTarget(target, {text::pathFromUtf8(ctx.dir)});
        platform::writeTextCp932(target, all);
    } catch (...) {
        std::fprintf(stderr, "%s\n", errorText(std::current_exception()).c_str());
        return 2;
    }
    return 0;
}

int emitLfText(const Context& ctx, const std::string& text) {
    if (!ctx.out) return emitResult(ctx, text, false);
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return emitResult(ctx, crlf, false);
}

}  // namespace kazuban::cli
