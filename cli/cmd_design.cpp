// design: the tickets of the tab "組合せ設計".
#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "commands.h"
#include "design/design.h"
#include "platform/data_files.h"
#include "text/app_error.h"
#include "text/path_text.h"
#include "usage.h"

namespace kazuban::cli {

namespace {

int refuse(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 2;
}

// A whole number, optionally negative; large values saturate.
bool parseInteger(const std::string& s, long long* v) {
    const std::size_t start = !s.empty() && s[0] == '-' ? 1 : 0;
    if (s.size() == start || s.find_first_not_of("0123456789", start) != std::string::npos) return false;
    long long x = 0;
    for (std::size_t i = start; i < s.size(); ++i) x = x > 100'000'000'000LL ? x : x * 10 + (s[i] - '0');
    *v = start == 1 ? -x : x;
    return true;
}

// "1,5,9": numbers 1..31, each once. The message on failure.
std::optional<std::string> parseList(const std::string& text, design::Ticket* set) {
    *set = 0;
    std::size_t at = 0;
    while (true) {
        const std::size_t comma = text.find(',', at);
        long long v = 0;
        if (!parseInteger(text.substr(at, comma - at), &v))
            return "数字の並び " + text + " は 1,5,9 のように , で区切って書いて下さい。";
        if (v < 1 || v > 31) return "数字の並び " + text + " に 1 から 31 以外の数字があります。";
        const design::Ticket bit = design::Ticket{1} << v;
        if ((*set & bit) != 0) return "数字の並び " + text + " に同じ数字が２回あります。";
        *set |= bit;
        if (comma == std::string::npos) return std::nullopt;
        at = comma + 1;
    }
}

// "A-B" with two whole numbers of at least 0.
bool parseBounds(const std::string& text, design::Bounds* b) {
    const std::size_t dash = text.find('-');
    long long low = 0, high = 0;
    if (dash == std::string::npos || !parseInteger(text.substr(0, dash), &low) ||
        !parseInteger(text.substr(dash + 1), &high) || low < 0 || high < 0)
        return false;
    b->low = static_cast<int>(std::min(low, 1'000'000LL));
    b->high = static_cast<int>(std::min(high, 1'000'000LL));
    return true;
}

// The request the arguments describe, or the message that refuses them.
std::optional<std::string> requestOf(const DesignArgs& a, design::Request* r) {
    if (a.tickets.has_value() == a.guarantee) return "--tickets N か --guarantee のどちらか一方を指定して下さい。";
    r->mode = a.tickets ? design::Mode::Best : a.numbers ? design::Mode::Wheel : design::Mode::Guarantee;
    long long v = 0;
    if (a.tickets) {
        if (!parseInteger(*a.tickets, &v) || v < 1 || v > design::kMaxTickets)
            return "口数は 1 から 1000 までです（" + *a.tickets + " は選べません）。";
        r->tickets = static_cast<int>(v);
    }
    if (a.numbers) {
        design::Ticket set = 0;
        if (auto m = parseList(*a.numbers, &set)) return m;
        r->numbers = set;
    }
    if (a.exclude) {
        if (auto m = parseList(*a.exclude, &r->excluded)) return m;
    }
    design::Bounds b;
    if (a.sum) {
        if (!parseBounds(*a.sum, &b)) return "合計の範囲は 60-90 のように書いて下さい。";
        r->sum = b;
    }
    if (a.odd) {
        if (!parseBounds(*a.odd, &b)) return "奇数の個数の範囲は 2-3 のように書いて下さい。";
        r->odd = b;
    }
    if (a.atLeast) {
        if (!parseInteger(*a.atLeast, &v) || v < 3 || v > 5) return "--if は 3, 4, 5 のどれかです。";
        r->atLeast = static_cast<int>(v);
    }
    if (a.seed) {
        const auto seed = parseSeed(*a.seed);
        if (!seed) return kSeedRange;
        r->seed = *seed;
    }
    if (a.effort) {
        if (!parseInteger(*a.effort, &v) || v < 1 || v > 1'000'000)
            return "--effort は 1 から 1000000 までの整数です。";
        r->effort = static_cast<int>(v);
    }
    return design::refusal(*r);
}

}  // namespace

int runDesign(const Context& ctx, const DesignArgs& args) {
    design::Request request;
    if (auto message = requestOf(args, &request)) return refuse(*message);
    // A target that may never be written is refused before the search.
    if (args.save) {
        try {
            platform::checkChosenTarget(text::pathFromUtf8(*args.save), {text::pathFromUtf8(ctx.dir)});
        } catch (...) {
            return refuse(errorText(std::current_exception()));
        }
    }
    const design::Result result = design::runDesign(request);
    if (args.save) {
        try {
            const auto target = text::pathFromUtf8(*args.save);
            platform::checkChosenTarget(target, {text::pathFromUtf8(ctx.dir)});
            design::saveTickets(target, result);
        } catch (...) {
            return refuse(errorText(std::current_exception()));
        }
    }
    return emitLfText(ctx, design::formatResult(result));
}

}  // namespace kazuban::cli
