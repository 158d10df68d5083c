#include "platform/line_file.h"

#include <atomic>
#include <memory>

#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::platform {

namespace {

std::atomic<WriteFaultHook> g_faultHook{nullptr};

bool allAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// Characters that Japanese texts commonly hold in another Unicode form than
// the one cp932 decodes to; they are saved as the cp932 character that looks
// the same instead of failing.
const char* cp932Substitute(std::string_view ch) {
    static const struct {
        const char* utf8;
        const char* cp932;
    } kMap[] = {
        {"\xE3\x80\x9C", "\x81\x60"},  // WAVE DASH → 〜 (FULLWIDTH TILDE)
        {"\xE2\x80\x96", "\x81\x61"},  // DOUBLE VERTICAL LINE → ∥
        {"\xE2\x88\x92", "\x81\x7C"},  // MINUS SIGN → －
        {"\xC2\xA2", "\x81\x91"},      // CENT SIGN → ￠
        {"\xC2\xA3", "\x81\x92"},      // POUND SIGN → ￡
        {"\xC2\xAC", "\x81\xCA"},      // NOT SIGN → ￢
        {"\xE2\x80\x94", "\x81\x5C"},  // EM DASH → ―
        {"\xC2\xA5", "\x5C"},          // YEN SIGN → the byte Japanese fonts show as ¥
        {"\xE2\x80\xBE", "\x7E"},      // OVERLINE → the byte Japanese fonts show as ‾
    };
    for (const auto& m : kMap)
        if (ch == m.utf8) return m.cp932;
    return nullptr;
}

}  // namespace

std::string decodeCp932(std::string_view bytes) {
    if (allAscii(bytes)) return std::string(bytes);
    Cp932Converter converter(Cp932Converter::Direction::ToUtf8);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    while (!bytes.empty()) {
        bytes.remove_prefix(converter.convert(bytes, out));
        if (bytes.empty()) break;
        // A byte cp932 does not define (or a lead byte cut off at the end).
        out += "\xEF\xBF\xBD";
        bytes.remove_prefix(1);
    }
    return out;
}

std::string encodeCp932(std::string_view utf8) {
    if (allAscii(utf8)) return std::string(utf8);
    Cp932Converter converter(Cp932Converter::Direction::FromUtf8);
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        utf8.remove_prefix(converter.convert(utf8, out));
        if (utf8.empty()) break;
        const std::size_t n = text::utf8SequenceLength(utf8, 0);
        if (n == 0)
            throw AppError(kInvalidCall, "文字コードが正しくない文字を含むため、シフトJIS(cp932)で保存できません。");
        const std::string_view ch = utf8.substr(0, n);
        if (const char* sub = cp932Substitute(ch)) {
            out += sub;
            utf8.remove_prefix(n);
            continue;
        }
        throw AppError(kInvalidCall, "文字「" + std::string(ch) + "」はシフトJIS(cp932)で保存できません。");
    }
    return out;
}

std::string decodeFileBytes(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return text::sanitizeUtf8(bytes.substr(3));
    if (text::isValidUtf8(bytes)) return std::string(bytes);
    return decodeCp932(bytes);
}

void refuseWideText(std::string_view bytes, const std::filesystem::path& path) {
    const text::WideText kind = text::wideTextOf(bytes);
    if (kind == text::WideText::None) return;
    throw AppError(kPathFileAccess,
                   "ファイル「" + text::utf8FromPath(path) + "」を読み込めません。" + text::wideTextReason(kind));
}

std::string readFileBytes(const std::filesystem::path& path) {
    InputFile file(path);
    std::string data;
    data.reserve(file.size());
    char buf[65536];
    while (const std::size_t n = file.read(buf, sizeof buf)) data.append(buf, n);
    return data;
}

std::vector<std::string> readLines(const std::filesystem::path& path) {
    const std::string bytes = readFileBytes(path);
    refuseWideText(bytes, path);
    return text::splitLines(decodeFileBytes(bytes));
}

FirstLines readFirstLines(const std::filesystem::path& path, std::size_t maxLines, bool countRest) {
    // Line ends are counted on the bytes: CR and LF are never part of a
    // cp932 or UTF-8 character. A CR LF counts once, at its CR; the LF that
    // may follow the last wanted line end is then part of the rest.
    InputFile file(path);
    FirstLines out;
    std::string prefix;
    std::size_t ends = 0;
    bool afterCr = false;
    bool inPrefix = maxLines > 0;
    bool first = true;
    bool restLineHasText = false;
    char buf[65536];
    while (const std::size_t n = file.read(buf, sizeof buf)) {
        if (first) refuseWideText(std::string_view(buf, n), path);
        first = false;
        std::size_t i = 0;
        if (inPrefix) {
            text::LineEnds lineEnds(std::string_view(buf, n));
            while (inPrefix) {
                const std::size_t e = lineEnds.next(i);
                if (e == n) {
                    i = n;
                    break;
                }
                // An LF right after a CR (perhaps the last byte read before) ends the same line.
                const bool sameEnd = buf[e] == '\n' && (e > 0 ? buf[e - 1] == '\r' : afterCr);
                if (!sameEnd) inPrefix = ++ends < maxLines;
                i = e + 1;
            }
            if (i > 0) afterCr = buf[i - 1] == '\r';
            prefix.append(buf, i);
        }
        for (; i < n && (countRest || out.restIsBlank); ++i) {
            const char b = buf[i];
            if (b == '\r' || b == '\n') {
                // A CR LF ends its line at the CR; the LF then ends nothing.
                if (restLineHasText) ++out.restTextLines;
                restLineHasText = false;
            } else if (b != ' ' && b != '\t') {
                restLineHasText = true;
                out.restIsBlank = false;
            }
        }
        // Nothing more to learn once the rest holds text, unless it is counted.
        if (!inPrefix && !out.restIsBlank && !countRest) break;
    }
    if (restLineHasText && countRest) ++out.restTextLines;
    // Valid UTF-8 is split as it stands, without a decoded copy.
    if (!prefix.starts_with("\xEF\xBB\xBF") && text::isValidUtf8(prefix)) {
        out.lines = text::splitLinesCapped(prefix, text::kMaxLineBytes);
    } else {
        out.lines = text::splitLinesCapped(decodeFileBytes(prefix), text::kMaxLineBytes);
    }
    return out;
}

void setWriteFaultHook(WriteFaultHook hook) { g_faultHook.store(hook); }

void writeFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
    if (path.empty()) throw AppError(kPathNotFound, "パスが見つかりません。ファイル名が空です。");
    replaceFileAtomically(path, bytes, g_faultHook.load());
}

void writeFilesAtomic(const std::vector<FileWrite>& files) {
    for (const FileWrite& f : files)
        if (f.path.empty()) throw AppError(kPathNotFound, "パスが見つかりません。ファイル名が空です。");
    const WriteFaultHook hook = g_faultHook.load();
    std::vector<std::unique_ptr<StagedFile>> staged, old;
    for (const FileWrite& f : files) staged.push_back(std::make_unique<StagedFile>(f.path, f.bytes));
    // What the targets hold now, ready to go back; the last target is never put back.
    for (std::size_t i = 0; i + 1 < files.size(); ++i)
        old.push_back(isFile(files[i].path) ? std::make_unique<StagedFile>(files[i].path, readFileBytes(files[i].path))
                                            : nullptr);
    for (std::size_t i = 0; i < files.size(); ++i) {
        try {
            staged[i]->install(hook);
        } catch (...) {
            std::string notPutBack;
            for (std::size_t j = i; j-- > 0;) {
                try {
                    if (old[j]) old[j]->install(nullptr, false);
                    else removeFile(files[j].path);
                } catch (const AppError& back) {
                    notPutBack +=
                        "\n" + back.text() + "（「" + text::utf8FromPath(files[j].path) + "」は新しい内容のままです）";
                }
            }
            if (notPutBack.empty()) throw;
            try {
                throw;
            } catch (const AppError& e) {
                throw AppError(e.code(), e.text() + notPutBack);
            }
        }
    }
}

void writeTextCp932(const std::filesystem::path& path, std::string_view utf8) {
    const std::string bytes = encodeCp932(utf8);
    writeFileAtomic(path, bytes);
}

void writeLinesCp932(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string text;
    std::size_t size = 0;
    for (const auto& l : lines) size += l.size() + 2;
    text.reserve(size);
    for (const auto& l : lines) {
        text += l;
        text += "\r\n";
    }
    writeTextCp932(path, text);
}

}  // namespace kazuban::platform
