// Stands in for a browser, editor or spreadsheet program on Windows (as
// record-args.sh does elsewhere): writes the program's own name and every
// argument it received, UTF-8, each followed by a NUL byte, to the file named
// by KAZUBAN_RECORD_FILE. The file appears whole (renamed into place), so a
// test may wait for it.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string utf8(const std::wstring& w) {
    std::string out;
    for (std::size_t i = 0; i < w.size(); ++i) {
        unsigned long c = static_cast<unsigned long>(w[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned long>(w[++i]) - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const wchar_t* target = _wgetenv(L"KAZUBAN_RECORD_FILE");
    if (!target || !*target) return 2;
    const std::filesystem::path out = target;
    std::filesystem::path part = out;
    part += L".part";
    {
        std::ofstream file(part, std::ios::binary);
        for (int i = 0; i < argc; ++i) {
            file << utf8(argv[i]);
            file.put('\0');
        }
        if (!file) return 1;
    }
    std::error_code ec;
    std::filesystem::rename(part, out, ec);
    return ec ? 1 : 0;
}
