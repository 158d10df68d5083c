// The input rules of a combination text.
#include <cstdint>
#include <string>
#include <string_view>

#include "combos/combination_table.h"
#include "support.h"
#include "text/text.h"

using namespace kazuban;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string s(reinterpret_cast<const char*>(data), size);
    if (!combos::isValidCombination(s)) return 0;
    fuzz::require(text::Len(s) == 14, "a valid text has 14 characters");
    for (int k = 1; k <= 5; ++k) {
        double v = text::Val(text::Mid(s, 3 * k - 2, 2));
        fuzz::require(v >= 1 && v <= 31, "every field is a number 1..31");
    }
    return 0;
}
