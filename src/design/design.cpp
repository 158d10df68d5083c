#include "design/design.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>

#include "design/construction.h"
#include "design/proof.h"
#include "design/search.h"
#include "design/stored.h"
#include "platform/line_file.h"

namespace kazuban::design {

namespace {

// The search's view of a request: positions 0..d-1 stand for the numbers
// the units are drawn from (all 31, or a wheel's own), and which tickets on
// them are allowed.
struct Plan {
    int d = 0, p = 5;
    int number[31] = {};  // of each position
    Ticket ground = 0;    // the numbers units are drawn from
    Ticket usable = 0;    // the numbers tickets may use
    std::optional<Bounds> sum, odd;
    const Preference* prefer = nullptr;

    explicit Plan(const Request& r) : prefer(r.prefer.get()) {
        if (r.mode == Mode::Wheel) {
            ground = usable = r.numbers.value_or(0) & kAllNumbers;
            p = r.atLeast.value_or(3);
        } else {
            ground = kAllNumbers;
            usable = r.numbers.value_or(kAllNumbers) & kAllNumbers & ~r.excluded;
            sum = r.sum;
            odd = r.odd;
        }
        for (int v = 1; v <= 31; ++v)
            if ((ground >> v) & 1) number[d++] = v;
    }

    Ticket ticketOf(Positions s) const {
        Ticket t = 0;
        for (; s != 0; s &= s - 1) t |= Ticket{1} << number[std::countr_zero(s)];
        return t;
    }
    bool allows(Positions s) const {
        const Ticket t = ticketOf(s);
        if ((t & ~usable) != 0) return false;
        int total = 0, odds = 0;
        for (Ticket m = t; m != 0; m &= m - 1) {
            const int v = std::countr_zero(m);
            total += v;
            odds += v & 1;
        }
        if (sum && (total < sum->low || total > sum->high)) return false;
        if (odd && (odds < odd->low || odds > odd->high)) return false;
        return !prefer || !prefer->usable || prefer->usable(t);
    }
    CoverSpace space() const {
        return CoverSpace(d, p, [this](Positions s) { return allows(s); });
    }
};

std::int64_t binomial(int n, int k) {
    if (k < 0 || k > n) return 0;
    std::int64_t r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
    return r;
}

// No cover of the p-subsets of d positions has fewer tickets: each covers at
// most sum_j C(5, j) C(d - 5, p - j) of them (j = 3..5 shared); for p = 3 the
// Schönheim bound is sharper.
std::size_t lowerBound(int d, int p) {
    std::int64_t perTicket = 0;
    for (int j = 3; j <= 5; ++j) perTicket += binomial(5, j) * binomial(d - 5, p - j);
    std::int64_t bound = (binomial(d, p) + perTicket - 1) / perTicket;
    if (p == 3) bound = std::max<std::int64_t>(bound, schoenheimBound(d));
    return static_cast<std::size_t>(bound);
}

// The positions of a ticket's numbers (numbers outside the plan are dropped).
Positions positionsOf(const Plan& plan, Ticket t) {
    Positions s = 0;
    for (int i = 0; i < plan.d; ++i)
        if ((t >> plan.number[i]) & 1) s |= Positions{1} << i;
    return s;
}

std::optional<std::vector<Positions>> knownWheel(int d, int p);

// Tickets on the positions 0..k-1 holding every three of them, known in
// advance: the five themselves, S(3,5,17), the stored table, the cover of 14.
std::optional<std::vector<Positions>> knownTripleWheel(int k) {
    if (k == 5) return std::vector<Positions>{31};
    if (k == 17) return steinerBlocks17();
    if (auto known = knownWheel(k, 3)) return known;
    if (k == 14) return tripleCover14();
    return std::nullopt;
}

// Tickets on the positions first..first+k-1 holding every three of them: a
// known wheel, or the search's.
std::vector<Positions> tripleWheel(int k, int first, const SearchHooks& hooks) {
    std::vector<Positions> w;
    if (auto known = knownTripleWheel(k)) {
        w = std::move(*known);
    } else {
        SearchHooks quiet = hooks;
        quiet.progress = nullptr;
        const CoverSpace space(k, 3, [](Positions) { return true; });
        w = searchCover(space, {{}}, lowerBound(k, 3), quiet).tickets;  // one greedy start is enough here
    }
    for (Positions& t : w) t <<= first;
    return w;
}

// The part a (5 <= a <= d - a) whose two parts have the fewest tickets in
// all in wheels of every three known in advance, or 0 when no split has both.
int bestSplit(int d) {
    constexpr std::size_t kUnknown = std::numeric_limits<std::size_t>::max() / 4;
    std::vector<std::size_t> size(static_cast<std::size_t>(std::max(d, 0)) + 1, kUnknown);
    for (int k = 5; k <= d - 5; ++k)
        if (const auto known = knownTripleWheel(k)) size[static_cast<std::size_t>(k)] = known->size();
    int best = 0;
    std::size_t fewest = kUnknown;
    for (int a = 5; a <= d - a; ++a) {
        const std::size_t n = size[static_cast<std::size_t>(a)] + size[static_cast<std::size_t>(d - a)];
        if (n < fewest) fewest = n, best = a;
    }
    return best;
}

// Covers to start from, the smallest first; an empty one is the greedy
// cover. S(3,5,17) holds every three of 17 positions. Five positions drawn
// from two parts put three into one of them, so wheels of every three of
// each part make a cover for p = 5: for 31 numbers S(3,5,17) and a cover of
// the other 14 (111 tickets), otherwise the split whose known wheels are
// smallest as well. For p = 5 the best of these starts and a
// greedy cover are searched, otherwise three greedy covers besides.
std::vector<std::vector<Positions>> coverStarts(const Plan& plan, const CoverSpace& space, const SearchHooks& hooks) {
    std::vector<std::vector<Positions>> starts;
    if (plan.p == 3 && plan.d >= 17) starts.push_back(steinerBlocks17());
    if (plan.p == 5) {
        std::vector<int> splits{17};
        if (plan.d < 22) splits = {(plan.d + 1) / 2, (plan.d + 1) / 2 + 1};
        const int a = bestSplit(plan.d);
        if (a != 0 && std::find(splits.begin(), splits.end(), a) == splits.end() &&
            std::find(splits.begin(), splits.end(), plan.d - a) == splits.end())
            splits.push_back(a);
        for (int a : splits) {
            if (plan.d - a < 5) continue;
            std::vector<Positions> start = tripleWheel(a, 0, hooks);
            for (Positions t : tripleWheel(plan.d - a, a, hooks)) start.push_back(t);
            if (std::all_of(start.begin(), start.end(), [&](Positions t) { return space.allowed(t); }))
                starts.push_back(std::move(start));
        }
    }
    std::stable_sort(starts.begin(), starts.end(), [](const auto& a, const auto& b) { return a.size() < b.size(); });
    starts.resize(starts.size() + (plan.p == 5 ? 1 : 3));
    if (plan.p == 5 && starts.size() > 2) starts.erase(starts.begin() + 1, starts.end() - 1);
    return starts;
}

// A wheel known in advance on the d positions for p: a construction, or the
// stored table's design once it has passed its proof.
std::optional<std::vector<Positions>> knownWheel(int d, int p) {
    if (p == 3 && d == 26) return steinerBlocks26();
    if (p == 3 && d == 27) return tripleCover27();
    std::optional<std::vector<Positions>> built;
    if (p == 3 && d == 25) built = tripleCover25();
    if (p == 3 && d == 28) built = tripleCover28();
    auto stored = storedWheel(d, p);
    if (stored) {
        for (std::uint32_t& t : *stored) t >>= 1;  // number v is position v - 1
        if (!built || stored->size() < built->size()) return stored;
    }
    return built;
}

// Starts hold only tickets the space allows: a stored wheel or a
// construction may hold one the player's limit turns down, and the search
// completes what is left of it.
void keepAllowedTickets(const CoverSpace& space, std::vector<std::vector<Positions>>& starts) {
    for (auto& start : starts) std::erase_if(start, [&](Positions t) { return !space.allowed(t); });
}

// Renames the numbers of a design, two at a time, while that raises the
// tickets' total value. Renaming the numbers the units are drawn from maps
// the units onto themselves, so the design covers exactly as many as
// before; a renaming is taken only when every ticket it changes is allowed.
// Each sweep tries every pair in a fixed order, so every system takes the
// same steps; it ends when a sweep finds nothing better or on cancel.
std::vector<Positions> preferValue(const Plan& plan, const CoverSpace& space, std::vector<Positions> tickets,
                                   const std::function<double(Ticket)>& value, const SearchHooks& hooks) {
    std::vector<double> known(static_cast<std::size_t>(binomial(plan.d, 5)), std::numeric_limits<double>::quiet_NaN());
    auto valueOf = [&](Positions s) {
        double& v = known[space.rank(s)];
        if (std::isnan(v)) v = value(plan.ticketOf(s));
        return v;
    };
    constexpr int kSweeps = 64;
    for (int sweep = 0; sweep < kSweeps && !hooks.cancelled(); ++sweep) {
        bool better = false;
        for (int a = 0; a < plan.d; ++a)
            for (int b = a + 1; b < plan.d; ++b) {
                const Positions both = Positions{1} << a | Positions{1} << b;
                double gain = 0;
                bool allowed = true;
                for (Positions t : tickets) {
                    if (std::popcount(t & both) != 1) continue;
                    const Positions renamed = t ^ both;
                    if (!space.allowed(renamed)) {
                        allowed = false;
                        break;
                    }
                    gain += valueOf(renamed) - valueOf(t);
                }
                if (!allowed || !(gain > 1e-9)) continue;
                for (Positions& t : tickets)
                    if (std::popcount(t & both) == 1) t ^= both;
                better = true;
            }
        if (!better) break;
    }
    return tickets;
}

std::string rangeText(const Bounds& b) { return std::to_string(b.low) + "-" + std::to_string(b.high); }

}  // namespace

std::optional<std::string> refusal(const Request& r) {
    if (r.effort < 1) return "--effort は 1 以上の整数です。";
    if (((r.numbers.value_or(0) | r.excluded) & ~kAllNumbers) != 0) return "数字は 1 から 31 までです。";
    if (r.mode == Mode::Best && (r.tickets < 1 || r.tickets > kMaxTickets))
        return "口数は 1 から 1000 までです（" + std::to_string(r.tickets) + " は選べません）。";
    if (r.atLeast && r.mode != Mode::Wheel) return "--if は --guarantee --numbers と一緒に指定して下さい。";
    if (r.mode == Mode::Wheel && (r.excluded != 0 || r.sum || r.odd))
        return "選んだ数字での保証には、--exclude, --sum, --odd は指定できません。";
    if (r.sum && r.sum->low > r.sum->high)
        return "合計の範囲 " + rangeText(*r.sum) + " は 下限 ≦ 上限 になっていません。";
    if (r.odd && r.odd->low > r.odd->high)
        return "奇数の個数の範囲 " + rangeText(*r.odd) + " は 下限 ≦ 上限 になっていません。";
    if (r.mode == Mode::Wheel) {
        const int p = r.atLeast.value_or(3);
        if (p < 3 || p > 5) return "--if は 3, 4, 5 のどれかです。";
        const int m = std::popcount(r.numbers.value_or(0));
        // m >= 5 also keeps P <= m.
        if (m < 5) return "数字は 5 個以上選んで下さい（選んだ数字は " + std::to_string(m) + " 個です）。";
        if (r.prefer && r.prefer->usable) {
            const CoverSpace space = Plan(r).space();
            if (space.coverableUnits() < space.units())
                return "使える組合せだけでは、選んだ数字の " + std::to_string(p) +
                       " 個の組のうち保証できないものが残ります。人気度の上限を上げて下さい。";
        }
        return std::nullopt;
    }
    const CoverSpace space = Plan(r).space();
    const auto allowed = static_cast<std::int64_t>(space.allowedTickets().size());
    if (r.mode == Mode::Best && allowed < r.tickets)
        return "条件に合う組合せは " + std::to_string(allowed) + " 口しかないので、" + std::to_string(r.tickets) +
               " 口は選べません。";
    if (r.mode == Mode::Guarantee && space.coverableUnits() < space.units())
        return "条件に合う組合せでは、どれとも 3 個以上一致しない当選番号が残るので、4等以上は保証できません。";
    return std::nullopt;
}

Result runDesign(const Request& r, const ProgressFn& progress, const std::atomic<bool>* cancel) {
    const Plan plan(r);
    const CoverSpace space = plan.space();
    SearchHooks hooks;
    hooks.seed = r.seed;
    hooks.effort = r.effort;
    hooks.cancel = cancel;
    if (progress)
        hooks.progress = [&](int tickets, std::int64_t open, std::int64_t done, std::int64_t planned) {
            progress({tickets, space.coverableUnits() - open, space.units(), done, planned});
        };

    Found found;
    if (r.mode == Mode::Best) {
        found = searchBest(space, r.tickets, hooks);
    } else {
        std::vector<std::vector<Positions>> starts;
        if (r.mode == Mode::Wheel && !r.from.empty()) {
            starts.emplace_back();
            for (Ticket t : r.from) {
                const Positions s = positionsOf(plan, t);
                if (std::popcount(s) == 5 && space.allowed(s) &&
                    std::find(starts.back().begin(), starts.back().end(), s) == starts.back().end())
                    starts.back().push_back(s);
            }
        } else if (auto known = r.mode == Mode::Wheel ? knownWheel(plan.d, plan.p) : std::nullopt) {
            // At the first effort the known wheel is the answer; more effort searches from it.
            const bool allowed =
                std::all_of(known->begin(), known->end(), [&](Positions t) { return space.allowed(t); });
            if (r.effort == 1 && allowed) {
                found.tickets = std::move(*known);
            } else {
                starts.push_back(std::move(*known));
            }
        }
        if (found.tickets.empty()) {
            if (r.from.empty() || r.mode != Mode::Wheel)
                for (auto& s : coverStarts(plan, space, hooks)) starts.push_back(std::move(s));
            keepAllowedTickets(space, starts);
            found = searchCover(space, starts, lowerBound(plan.d, plan.p), hooks);
        }
    }
    if (r.prefer && r.prefer->value)
        found.tickets = preferValue(plan, space, std::move(found.tickets), r.prefer->value, hooks);

    Result res;
    res.mode = r.mode;
    res.numbers = std::popcount(plan.usable);
    for (Positions s : found.tickets) res.tickets.push_back(plan.ticketOf(s));
    std::sort(res.tickets.begin(), res.tickets.end(), [](Ticket a, Ticket b) { return ticketText(a) < ticketText(b); });
    res.units = space.units();
    res.searchCovered = space.coverableUnits() - found.open;
    res.covered = countCovered(plan.ground, plan.p, res.tickets);
    res.cancelled = cancel != nullptr && cancel->load();
    return res;
}

std::string ticketText(Ticket t) {
    std::string s;
    for (int v = 1; v <= 31; ++v)
        if ((t >> v) & 1) {
            if (!s.empty()) s += ',';
            if (v < 10) s += ' ';
            s += std::to_string(v);
        }
    return s;
}

std::string percentText(std::int64_t covered, std::int64_t units) {
    const std::int64_t hundredths = (covered * 20000 + units) / (2 * units);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%02lld", static_cast<long long>(hundredths / 100),
                  static_cast<long long>(hundredths % 100));
    return buf;
}

std::string formatResult(const Result& r) {
    static const char* const kModes[] = {"best", "guarantee", "wheel"};
    std::string out = std::string("mode,") + kModes[static_cast<int>(r.mode)] + "\n";
    out += "numbers," + std::to_string(r.numbers) + "\n";
    out += "tickets," + std::to_string(r.tickets.size()) + "\n";
    out += "covered," + std::to_string(r.covered) + "," + std::to_string(r.units) + "\n";
    out += "percent," + percentText(r.covered, r.units) + "\n";
    for (Ticket t : r.tickets) out += ticketText(t) + "\n";
    return out;
}

void saveTickets(const std::filesystem::path& file, const Result& r) {
    std::vector<std::string> lines;
    for (Ticket t : r.tickets) lines.push_back(ticketText(t));
    platform::writeLinesCp932(file, lines);
}

int schoenheimBound(int m) {
    auto ceilDiv = [](std::int64_t a, std::int64_t b) { return (a + b - 1) / b; };
    return static_cast<int>(ceilDiv(m * ceilDiv((m - 1) * ceilDiv(m - 2, 3), 4), 5));
}

int guaranteeBound() {
    std::int64_t turan = 8;
    for (std::int64_t n = 9; n <= 31; ++n) turan = (n * turan + n - 4) / (n - 3);
    return static_cast<int>((turan + 9) / 10);
}

double randomCoverage(int n) {
    // The chance that none of n distinct random tickets covers a given draw.
    double none = 1;
    for (int i = 0; i < n; ++i)
        none *= static_cast<double>(kDraws - kDrawsPerTicket - i) / static_cast<double>(kDraws - i);
    return static_cast<double>(kDraws) * (1 - none);
}

}  // namespace kazuban::design
