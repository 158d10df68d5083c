// Val, Str and the character cuts on arbitrary text.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "grid/text_grid.h"
#include "support.h"
#include "text/text.h"

using namespace kazuban;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    long a = static_cast<signed char>(fuzz::takeByte(bytes));
    long b = static_cast<signed char>(fuzz::takeByte(bytes));
    std::string s(bytes);

    double v = text::Val(s);
    if (std::isfinite(v)) {
        std::string str = text::Str(v);
        fuzz::require(!str.empty(), "Str gives a text");
        double back = text::Val(str);
        fuzz::require(back == v || std::fabs(back - v) <= std::fabs(v) * 1e-14, "Val(Str(v)) == v to 15 digits");
        (void)text::plainText(v);
    }
    std::size_t len = text::Len(s);
    fuzz::require(text::Len(text::Left(s, a)) <= len && text::Len(text::Right(s, b)) <= len, "cuts never grow");
    (void)text::Mid(s, a, b);
    (void)text::Mid(s, b);
    long p = text::InStr(a, s, text::Left(s, b));
    fuzz::require(p >= 0 && p <= static_cast<long>(len) + 1, "InStr in range");

    std::string half1 = text::Left(s, static_cast<long>(len / 2));
    std::string half2 = text::Mid(s, static_cast<long>(len / 2) + 1);
    fuzz::require(grid::compareGeneric(half1, half2) == -grid::compareGeneric(half2, half1),
                  "comparison antisymmetric");
    fuzz::require(grid::compareText(half1, half1) == 0, "comparison reflexive");
    return 0;
}
