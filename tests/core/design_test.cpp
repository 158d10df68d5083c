// Ticket design: the proof counter against a reference count, the known
// designs, the search's tables, and the results of small requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "design/construction.h"
#include "design/design.h"
#include "design/proof.h"
#include "design/search.h"
#include "design/stored.h"

namespace kazuban::design {
namespace {

Ticket maskOf(std::initializer_list<int> numbers) {
    Ticket m = 0;
    for (int v : numbers) m |= Ticket{1} << v;
    return m;
}
Ticket range(int from, int to) {
    Ticket m = 0;
    for (int v = from; v <= to; ++v) m |= Ticket{1} << v;
    return m;
}

// The reference: the p-subsets of the ground in the order of their bit
// patterns over the ground's numbers (Gosper's rule), each against every ticket.
std::int64_t referenceCount(Ticket ground, int p, const std::vector<Ticket>& tickets) {
    std::vector<int> numbers;
    for (int v = 1; v <= 31; ++v)
        if ((ground >> v) & 1) numbers.push_back(v);
    const std::uint64_t end = std::uint64_t{1} << numbers.size();
    std::int64_t n = 0;
    for (std::uint64_t x = (std::uint64_t{1} << p) - 1; x < end;) {
        Ticket s = 0;
        for (std::size_t i = 0; i < numbers.size(); ++i)
            if ((x >> i) & 1) s |= Ticket{1} << numbers[i];
        bool hit = false;
        for (Ticket t : tickets) hit = hit || std::popcount(s & t) >= 3;
        n += hit;
        const std::uint64_t c = x & (~x + 1), r = x + c;
        x = (((r ^ x) >> 2) / c) | r;
    }
    return n;
}

struct ProofCase {
    const char* name;
    Ticket ground;
    int p;
    std::vector<Ticket> tickets;
};

class ProofCounter : public ::testing::TestWithParam<ProofCase> {};

TEST_P(ProofCounter, AgreesWithTheReference) {
    const ProofCase& c = GetParam();
    EXPECT_EQ(countCovered(c.ground, c.p, c.tickets), referenceCount(c.ground, c.p, c.tickets));
}

INSTANTIATE_TEST_SUITE_P(
    SmallGrounds, ProofCounter,
    ::testing::Values(
        ProofCase{"none", range(1, 9), 3, {}},
        ProofCase{"twoOnNine", range(1, 9), 3, {maskOf({1, 2, 3, 4, 5}), maskOf({5, 6, 7, 8, 9})}},
        ProofCase{"fours",
                  range(20, 31),
                  4,
                  {maskOf({20, 21, 22, 23, 24}), maskOf({22, 25, 27, 29, 31}), maskOf({24, 26, 28, 30, 31})}},
        ProofCase{"partlyOutside",
                  maskOf({2, 4, 6, 8, 10, 12, 14, 16}),
                  5,
                  {maskOf({2, 4, 6, 7, 9}), maskOf({8, 10, 12, 1, 3}), maskOf({2, 14, 16, 30, 31})}},
        ProofCase{"fivesOnFourteen",
                  range(9, 22),
                  5,
                  {maskOf({9, 10, 11, 12, 13}), maskOf({13, 14, 15, 16, 17}), maskOf({18, 19, 20, 21, 22}),
                   maskOf({9, 14, 18, 20, 22}), maskOf({10, 12, 15, 19, 21})}}),
    [](const ::testing::TestParamInfo<ProofCase>& i) { return std::string(i.param.name); });

TEST(ProofCounter, KnownFiguresOverAllDraws) {
    EXPECT_EQ(countCovered(kAllNumbers, 5, {maskOf({1, 2, 3, 4, 5})}), kDrawsPerTicket);
    // Tickets sharing at most one number: 3,381 N - 36 x (the pairs sharing one).
    EXPECT_EQ(countCovered(kAllNumbers, 5, {maskOf({1, 2, 3, 4, 5}), maskOf({5, 6, 7, 8, 9})}), 2 * 3381 - 36);
    std::vector<Ticket> disjoint;
    for (int i = 0; i < 6; ++i) disjoint.push_back(range(1 + 5 * i, 5 + 5 * i));
    EXPECT_EQ(countCovered(kAllNumbers, 5, disjoint), 6 * 3381);
}

// How many of the sets of three of `points` lie in at least one and in more
// than one of the blocks.
std::pair<int, int> tripleHits(int points, const std::vector<std::uint32_t>& blocks) {
    int missing = 0, repeated = 0;
    for (int a = 0; a < points; ++a)
        for (int b = a + 1; b < points; ++b)
            for (int c = b + 1; c < points; ++c) {
                const std::uint32_t t = 1u << a | 1u << b | 1u << c;
                int n = 0;
                for (std::uint32_t x : blocks) n += (x & t) == t;
                missing += n == 0;
                repeated += n > 1;
            }
    return {missing, repeated};
}

TEST(Constructions, SteinerSystemAndTheCoverOfFourteen) {
    const auto steiner = steinerBlocks17();
    ASSERT_EQ(steiner.size(), 68u);
    for (std::uint32_t b : steiner) EXPECT_TRUE(std::popcount(b) == 5 && b < (1u << 17)) << b;
    EXPECT_EQ(tripleHits(17, steiner), std::make_pair(0, 0));

    const auto fourteen = tripleCover14();
    ASSERT_EQ(fourteen.size(), 43u);
    for (std::uint32_t b : fourteen) EXPECT_TRUE(std::popcount(b) == 5 && b < (1u << 14)) << b;
    EXPECT_EQ(tripleHits(14, fourteen).first, 0);

    const auto s26 = steinerBlocks26();
    ASSERT_EQ(s26.size(), 260u);
    for (std::uint32_t b : s26) EXPECT_TRUE(std::popcount(b) == 5 && b < (1u << 26)) << b;
    EXPECT_EQ(tripleHits(26, s26), std::make_pair(0, 0));

    // The proof counter agrees: every three of 27 numbers lie in a ticket.
    std::vector<Ticket> c27;
    for (std::uint32_t b : tripleCover27()) c27.push_back(b << 1);
    ASSERT_EQ(c27.size(), 319u);
    EXPECT_EQ(std::set<Ticket>(c27.begin(), c27.end()).size(), 319u);
    for (Ticket t : c27) EXPECT_TRUE(std::popcount(t) == 5 && (t & ~range(1, 27)) == 0) << t;
    EXPECT_EQ(countCovered(range(1, 27), 3, c27), 2925);

    // One point fewer and one more: every three of 25 and of 28 numbers.
    for (const auto& [m, blocks] : {std::pair{25, tripleCover25()}, std::pair{28, tripleCover28()}}) {
        std::vector<Ticket> c;
        for (std::uint32_t b : blocks) c.push_back(b << 1);
        ASSERT_EQ(c.size(), m == 25 ? 260u : 387u);
        EXPECT_EQ(std::set<Ticket>(c.begin(), c.end()).size(), c.size());
        for (Ticket t : c) EXPECT_TRUE(std::popcount(t) == 5 && (t & ~range(1, m)) == 0) << t;
        EXPECT_EQ(countCovered(range(1, m), 3, c), m * (m - 1) * (m - 2) / 6) << m;
    }
}

// The units of the space that no ticket covers, counted plainly.
std::int64_t openUnits(const CoverSpace& space, const std::vector<Positions>& tickets) {
    std::int64_t open = 0;
    for (std::size_t r = 0; r < space.unitSets().size(); ++r) {
        if (!space.coverable(static_cast<std::uint32_t>(r))) continue;
        bool hit = false;
        for (Positions t : tickets) hit = hit || std::popcount(t & space.unitSets()[r]) >= 3;
        open += !hit;
    }
    return open;
}

TEST(Search, IncrementalScoresAgreeWithARecount) {
    // Tabu moves from random tickets, and the annealing moves of a whole
    // cover search: after every move the units the search counts open are
    // those a recount finds, and the tickets stay distinct and allowed.
    for (int p = 3; p <= 5; ++p) {
        const CoverSpace space(11, p, [](Positions t) { return (t & 0x3) != 0x3; });
        Random rng(static_cast<std::uint64_t>(p));
        std::vector<Positions> start;
        while (start.size() < 6) {
            const Positions t = space.allowedTickets()[rng.below(space.allowedTickets().size())];
            if (std::find(start.begin(), start.end(), t) == start.end()) start.push_back(t);
        }
        SearchHooks hooks;
        std::atomic<bool> cancel{false};
        hooks.cancel = &cancel;
        int moves = 0;
        hooks.onMove = [&](const std::vector<Positions>& tickets, std::int64_t open) {
            if (++moves == 2000) cancel = true;
            ASSERT_EQ(open, openUnits(space, tickets)) << "p " << p << " move " << moves;
            ASSERT_EQ(std::set<Positions>(tickets.begin(), tickets.end()).size(), tickets.size());
            for (Positions t : tickets) ASSERT_TRUE(space.allowed(t));
        };
        const Found f = searchTabu(space, start, 300, hooks);
        EXPECT_GT(moves, 0);
        EXPECT_EQ(f.open, openUnits(space, f.tickets));
        EXPECT_LT(f.open, openUnits(space, start));
        moves = 0;
        searchCover(space, {{}}, 1, hooks);  // the annealing's moves, until the cancel
        EXPECT_GE(moves, 2000);
    }
}

TEST(Search, BestNScoresAgreeWithARecountToTheLastMove) {
    // Ten tickets on 16 positions, p = 4: pairs of them must share two
    // positions, so the search never stops early and makes every planned
    // move. Its incremental scores (sampled) and its result agree with a
    // recount, the tickets stay distinct, and a rerun gives the same.
    const CoverSpace space(16, 4, [](Positions) { return true; });
    SearchHooks hooks;
    hooks.seed = 5;
    std::int64_t moves = 0, lastDone = 0, lastPlanned = -1;
    hooks.onMove = [&](const std::vector<Positions>& tickets, std::int64_t open) {
        if (++moves % 61 != 0) return;
        ASSERT_EQ(open, openUnits(space, tickets)) << "move " << moves;
        ASSERT_EQ(std::set<Positions>(tickets.begin(), tickets.end()).size(), tickets.size());
    };
    hooks.progress = [&](int tickets, std::int64_t open, std::int64_t done, std::int64_t planned) {
        EXPECT_EQ(tickets, 10);
        EXPECT_GE(open, 0);
        EXPECT_GE(done, lastDone);
        lastDone = done;
        lastPlanned = planned;
    };
    const Found f = searchBest(space, 10, hooks);
    EXPECT_GT(moves, 1000);
    EXPECT_EQ(lastDone, lastPlanned);
    ASSERT_EQ(f.tickets.size(), 10u);
    EXPECT_EQ(f.open, openUnits(space, f.tickets));
    hooks.onMove = nullptr;
    hooks.progress = nullptr;
    EXPECT_EQ(searchBest(space, 10, hooks).tickets, f.tickets);
}

Request wheel(Ticket numbers, std::optional<int> p);

// The sizes the search alone gave for P = 3 on 15..31 numbers before the
// table (0: not recorded); a stored design must be smaller or it is useless.
constexpr int kSearchAlone[] = {56, 67, 0, 0, 108, 139, 162, 187, 218, 256, 289, 318, 356, 408, 455, 496, 556};

class StoredWheels : public ::testing::TestWithParam<StoredText> {};

TEST_P(StoredWheels, ProveAndAreWhatTheWheelGives) {
    const StoredText& s = GetParam();
    const auto tickets = provedWheel(s.m, s.p, s.text);
    ASSERT_TRUE(tickets.has_value());
    EXPECT_EQ(countCovered(range(1, s.m), s.p, *tickets), referenceCount(range(1, s.m), s.p, *tickets));
    if (s.p == 3 && s.m >= 15 && kSearchAlone[s.m - 15] > 0) {
        EXPECT_LE(tickets->size(), static_cast<std::size_t>(kSearchAlone[s.m - 15]));
    }
    // On any m numbers of the player's at effort 1: the stored design, mapped.
    const Ticket numbers = range(31 - s.m + 1, 31);
    const Result res = runDesign(wheel(numbers, s.p));
    EXPECT_EQ(res.tickets.size(), tickets->size());
    EXPECT_EQ(res.covered, res.units);
    for (Ticket t : res.tickets) EXPECT_EQ(t & ~numbers, 0u);
}
INSTANTIATE_TEST_SUITE_P(Table, StoredWheels, ::testing::ValuesIn(storedTexts()),
                         [](const ::testing::TestParamInfo<StoredText>& i) {
                             return "p" + std::to_string(i.param.p) + "m" + std::to_string(i.param.m);
                         });

TEST(StoredWheels, AFaultyDesignIsNeverUsed) {
    const std::string good =
        " 1, 2, 3, 4, 5\n 1, 2, 3, 4, 6\n 1, 2, 3, 5, 6\n 1, 4, 5, 6, 2\n 3, 4, 5, 6, 1\n 2, 3, 4, 5, 6\n";
    ASSERT_TRUE(provedWheel(6, 3, good).has_value());
    EXPECT_EQ(provedWheel(6, 3, good)->size(), 6u);
    EXPECT_FALSE(provedWheel(6, 3, " 1, 2, 3, 4, 5\n").has_value());         // {1,2,6} held by none
    EXPECT_FALSE(provedWheel(7, 3, good).has_value());                       // nor is anything with 7
    EXPECT_FALSE(provedWheel(6, 3, good + " 1, 2, 3, 4, 5\n").has_value());  // a ticket twice
    EXPECT_FALSE(provedWheel(6, 3, good + " 1, 2, 3, 4, 7\n").has_value());  // a number beyond m
    EXPECT_FALSE(provedWheel(6, 3, good + " 1, 2, 3, 4\n").has_value());     // four numbers
    EXPECT_FALSE(provedWheel(6, 3, good + " 1, 2, 3, 3, 4\n").has_value());  // a number twice
    EXPECT_FALSE(provedWheel(6, 3, good + " 1; 2, 3, 4, 5\n").has_value());  // not the form
    EXPECT_FALSE(provedWheel(6, 3, "").has_value());
    EXPECT_TRUE(provedWheel(6, 3, good + "\r\n").has_value());
}

TEST(StoredWheels, ConstructionsAnswerAtOnceAndMoreEffortSearchesFromThem) {
    for (int m : {25, 26, 27, 28}) {
        const Result res = runDesign(wheel(range(1, m), std::nullopt));
        // On 25 and 28 the stored table beats the construction: the search from it.
        EXPECT_EQ(res.tickets.size(), m == 28 ? 359u : m == 27 ? 319u : m == 26 ? 260u : 256u);
        EXPECT_EQ(res.covered, res.units);
    }
    // The Schönheim bound is reached: more effort stops at once too.
    Request r = wheel(range(5, 30), 3);
    r.effort = 2;
    EXPECT_EQ(runDesign(r).tickets.size(), 260u);
}

TEST(StoredWheels, FiveOfTheNumbersStartFromTheSmallestSplitIntoKnownWheels) {
    // Five drawn from two parts put three into one: on 24 numbers the known
    // wheels of 11 and 13 (20 + 34) are the smallest pair, where 12 + 12 make
    // 58 and S(3,5,17) with the other 7 makes 73. Cancelled at once, the
    // design is that start.
    std::atomic<bool> cancel{true};
    for (const auto& [m, most] : {std::pair{24, 54u}, {22, 40u}}) {
        const Request r = wheel(range(32 - m, 31), 5);
        const Result res = runDesign(r, {}, &cancel);
        EXPECT_LE(res.tickets.size(), most) << m;
        EXPECT_EQ(res.covered, res.units) << m;
        EXPECT_EQ(res.covered, referenceCount(*r.numbers, 5, res.tickets)) << m;
    }
}

struct SpaceCase {
    int d, p;
};
class Space : public ::testing::TestWithParam<SpaceCase> {};

TEST_P(Space, RanksNumberTheUnitsInOrder) {
    const auto [d, p] = GetParam();
    const CoverSpace space(d, p, [](Positions) { return true; });
    const auto& units = space.unitSets();
    ASSERT_EQ(static_cast<std::int64_t>(units.size()), space.units());
    for (std::size_t r = 0; r < units.size(); ++r) {
        ASSERT_EQ(std::popcount(units[r]), p);
        ASSERT_EQ(space.rank(units[r]), r);
        if (r > 0) {
            ASSERT_LT(units[r - 1], units[r]);
        }
    }
    EXPECT_EQ(units.back(), ((1u << p) - 1) << (d - p));
}
INSTANTIATE_TEST_SUITE_P(Sizes, Space, ::testing::Values(SpaceCase{31, 5}, SpaceCase{31, 3}, SpaceCase{20, 4}));

TEST(Space, CoverableUnitsAreThoseAnAllowedTicketReaches) {
    // Tickets on positions 0..9 reach the draws with three or more of them.
    const CoverSpace space(31, 5, [](Positions t) { return t < (1u << 10); });
    EXPECT_EQ(space.allowedTickets().size(), 252u);
    EXPECT_EQ(space.units(), kDraws);
    EXPECT_EQ(space.coverableUnits(), 120 * 210 + 210 * 21 + 252);
}

// ---- requests -----------------------------------------------------------------

struct RequestCase {
    const char* name;
    Request request;
    int maxTickets;  // a wheel's size the search must reach
};

class Design : public ::testing::TestWithParam<RequestCase> {};

TEST_P(Design, ResultsAreValidProvedAndRepeatable) {
    const Request& r = GetParam().request;
    ASSERT_EQ(refusal(r), std::nullopt);
    const Result res = runDesign(r);
    const Ticket ground = r.mode == Mode::Wheel ? *r.numbers : kAllNumbers;
    const int p = r.mode == Mode::Wheel ? r.atLeast.value_or(3) : 5;
    EXPECT_EQ(res.covered, referenceCount(ground, p, res.tickets));
    EXPECT_EQ(res.covered, res.searchCovered);
    EXPECT_FALSE(res.cancelled);

    const std::set<Ticket> distinct(res.tickets.begin(), res.tickets.end());
    EXPECT_EQ(distinct.size(), res.tickets.size());
    const Ticket usable = r.mode == Mode::Wheel ? *r.numbers : r.numbers.value_or(kAllNumbers) & ~r.excluded;
    for (Ticket t : res.tickets) {
        EXPECT_EQ(std::popcount(t), 5);
        EXPECT_EQ(t & ~usable, 0u) << ticketText(t);
        int sum = 0, odd = 0;
        for (int v = 1; v <= 31; ++v)
            if ((t >> v) & 1) sum += v, odd += v % 2;
        EXPECT_TRUE(!r.sum || (sum >= r.sum->low && sum <= r.sum->high)) << ticketText(t);
        EXPECT_TRUE(!r.odd || (odd >= r.odd->low && odd <= r.odd->high)) << ticketText(t);
    }
    for (std::size_t i = 1; i < res.tickets.size(); ++i)
        EXPECT_LT(ticketText(res.tickets[i - 1]), ticketText(res.tickets[i]));
    if (r.mode == Mode::Best) {
        EXPECT_EQ(res.tickets.size(), static_cast<std::size_t>(r.tickets));
    } else {
        EXPECT_EQ(res.covered, res.units);
        EXPECT_LE(res.tickets.size(), static_cast<std::size_t>(GetParam().maxTickets));
    }
    EXPECT_EQ(runDesign(r).tickets, res.tickets);
}

Request best(int n) {
    Request r;
    r.tickets = n;
    return r;
}
Request wheel(Ticket numbers, std::optional<int> p) {
    Request r;
    r.mode = Mode::Wheel;
    r.numbers = numbers;
    r.atLeast = p;
    return r;
}
Request constrained() {
    Request r = best(3);  // three disjoint tickets fit, so the search stops early
    r.numbers = range(1, 20);
    r.excluded = maskOf({3, 7});
    r.sum = Bounds{40, 70};
    r.odd = Bounds{2, 3};
    r.seed = 7;
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Small, Design,
    ::testing::Values(RequestCase{"bestFive", best(5), 0}, RequestCase{"bestConstrained", constrained(), 0},
                      RequestCase{"wheelSevenOfThree", wheel(range(3, 9), std::nullopt), 5},
                      RequestCase{"wheelSixOfFour", wheel(range(26, 31), 4), 1},
                      RequestCase{"wheelEightOfFive", wheel(maskOf({1, 4, 9, 16, 20, 25, 29, 31}), 5), 2}),
    [](const ::testing::TestParamInfo<RequestCase>& i) { return std::string(i.param.name); });

TEST(Design, CancelKeepsTheBestFoundSoFar) {
    // Best: stopped at the first report, the tickets are still N distinct ones.
    std::atomic<bool> cancel{false};
    int reports = 0;
    Progress last;
    const Result res = runDesign(
        best(12),
        [&](const Progress& p) {
            ++reports;
            last = p;
            cancel = true;
        },
        &cancel);
    EXPECT_TRUE(res.cancelled);
    EXPECT_GE(reports, 1);
    ASSERT_EQ(res.tickets.size(), 12u);
    EXPECT_EQ(std::set<Ticket>(res.tickets.begin(), res.tickets.end()).size(), 12u);
    EXPECT_EQ(res.covered, countCovered(kAllNumbers, 5, res.tickets));
    EXPECT_GE(res.covered, last.covered);
    EXPECT_EQ(last.units, kDraws);
    EXPECT_LT(last.done, last.planned);

    // Guarantee, cancelled before it starts: the construction, every draw covered.
    Request g;
    g.mode = Mode::Guarantee;
    const Result all = runDesign(g, {}, &cancel);
    EXPECT_TRUE(all.cancelled);
    EXPECT_EQ(all.tickets.size(), 111u);
    EXPECT_EQ(all.covered, kDraws);
}

// A preference among equal covers: the tickets' total value rises while
// the units covered stay those of the plain search, and a ticket turned
// down is never used, not even when it is part of a stored wheel.
double totalValue(const std::vector<Ticket>& tickets) {
    double v = 0;
    for (Ticket t : tickets)
        for (int n = 1; n <= 31; ++n)
            if ((t >> n) & 1) v += n * n;  // the higher numbers are worth more
    return v;
}

class Preferred : public ::testing::TestWithParam<RequestCase> {};

TEST_P(Preferred, RaisesTheValueAtTheSameCoverAndNeverUsesATicketTurnedDown) {
    const Request plain = GetParam().request;
    const Result base = runDesign(plain);
    const Ticket ground = plain.mode == Mode::Wheel ? *plain.numbers : kAllNumbers;
    const int p = plain.mode == Mode::Wheel ? plain.atLeast.value_or(3) : 5;

    auto prefer = std::make_shared<Preference>();
    prefer->value = [](Ticket t) { return totalValue({t}); };
    Request r = plain;
    r.prefer = prefer;
    const Result valued = runDesign(r);
    EXPECT_EQ(valued.covered, base.covered);
    EXPECT_EQ(valued.covered, referenceCount(ground, p, valued.tickets));
    EXPECT_EQ(valued.tickets.size(), base.tickets.size());
    EXPECT_GT(totalValue(valued.tickets), totalValue(base.tickets));

    const Ticket banned = base.tickets.front();
    prefer->usable = [banned](Ticket t) { return t != banned; };
    const Result limited = runDesign(r);
    EXPECT_EQ(std::count(limited.tickets.begin(), limited.tickets.end(), banned), 0);
    EXPECT_EQ(limited.covered, referenceCount(ground, p, limited.tickets));
    if (plain.mode == Mode::Wheel) {
        EXPECT_EQ(limited.covered, limited.units);
    }
}

INSTANTIATE_TEST_SUITE_P(Small, Preferred,
                         ::testing::Values(RequestCase{"bestFive", best(5), 0},
                                           RequestCase{"wheelSevenOfThree", wheel(range(3, 9), std::nullopt), 0},
                                           RequestCase{"wheelEightOfFive", wheel(range(20, 27), 5), 0}),
                         [](const ::testing::TestParamInfo<RequestCase>& i) { return std::string(i.param.name); });

TEST(Preferred, AStoredWheelGivesUpATicketTurnedDownAndNoCoverMeansARefusal) {
    Request r = wheel(range(2, 16), 3);
    const Result stored = runDesign(r);
    const Ticket banned = stored.tickets.front();
    auto prefer = std::make_shared<Preference>();
    prefer->usable = [banned](Ticket t) { return t != banned; };
    r.prefer = prefer;
    // Cancelled at once, the search gives the rest of the stored wheel, completed.
    std::atomic<bool> cancel{true};
    const Result completed = runDesign(r, {}, &cancel);
    EXPECT_EQ(std::count(completed.tickets.begin(), completed.tickets.end(), banned), 0);
    EXPECT_EQ(completed.covered, completed.units);
    EXPECT_EQ(completed.covered, referenceCount(*r.numbers, 3, completed.tickets));
    EXPECT_LE(completed.tickets.size(), stored.tickets.size() + 3);

    // Without the lowest number no ticket holds a triple with it.
    prefer->usable = [](Ticket t) { return ((t >> 2) & 1) == 0; };
    EXPECT_NE(refusal(r).value_or("").find("人気度の上限を上げて下さい"), std::string::npos);
}

struct RefusalCase {
    const char* name;
    Request request;
    const char* message;  // a part of it; "" for none
};
class Refusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, NamesTheFault) {
    const auto m = refusal(GetParam().request);
    if (*GetParam().message == '\0') {
        EXPECT_EQ(m, std::nullopt);
    } else {
        ASSERT_TRUE(m.has_value());
        EXPECT_NE(m->find(GetParam().message), std::string::npos) << *m;
    }
}

// The request with one field changed.
template <class T, class V>
Request set(Request r, T Request::*field, V value) {
    r.*field = value;
    return r;
}
Request guarantee() {
    Request r;
    r.mode = Mode::Guarantee;
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Refusal,
    ::testing::Values(RefusalCase{"effort", set(best(3), &Request::effort, 0), "--effort"},
                      RefusalCase{"numberZero", set(best(3), &Request::numbers, maskOf({0, 1, 2, 3, 4, 5})),
                                  "1 から 31"},
                      RefusalCase{"noTickets", best(0), "口数は 1 から 1000"},
                      RefusalCase{"tooMany", best(1001), "口数は 1 から 1000"}, RefusalCase{"thousand", best(1000), ""},
                      RefusalCase{"ifWithoutWheel", set(best(3), &Request::atLeast, 3), "--if"},
                      RefusalCase{"wheelExcludes", set(wheel(range(1, 8), 3), &Request::excluded, 2), "--exclude"},
                      RefusalCase{"wheelSum", set(wheel(range(1, 8), 3), &Request::sum, Bounds{1, 100}), "--sum"},
                      RefusalCase{"sumOrder", set(best(3), &Request::sum, Bounds{91, 90}), "合計の範囲 91-90"},
                      RefusalCase{"sumEqual", set(best(3), &Request::sum, Bounds{90, 90}), ""},
                      RefusalCase{"oddOrder", set(best(3), &Request::odd, Bounds{4, 3}), "奇数の個数の範囲 4-3"},
                      RefusalCase{"ifTwo", wheel(range(1, 8), 2), "3, 4, 5"},
                      RefusalCase{"ifSix", wheel(range(1, 8), 6), "3, 4, 5"},
                      RefusalCase{"wheelOfFour", wheel(range(1, 4), 3), "5 個以上"},
                      RefusalCase{"wheelOfFive", wheel(range(1, 5), 5), ""},
                      RefusalCase{"sixTicketsOfSix", set(best(6), &Request::numbers, range(1, 6)), ""},
                      RefusalCase{"sevenOfSix", set(best(7), &Request::numbers, range(1, 6)), "6 口しかない"},
                      RefusalCase{"sumLeavesNone", set(best(1), &Request::sum, Bounds{0, 14}), "0 口しかない"},
                      RefusalCase{"sumLeavesOne", set(best(1), &Request::sum, Bounds{0, 15}), ""},
                      RefusalCase{"guaranteeTwoExcluded", set(guarantee(), &Request::excluded, maskOf({30, 31})), ""},
                      RefusalCase{"guaranteeThreeExcluded", set(guarantee(), &Request::excluded, maskOf({29, 30, 31})),
                                  "保証できません"},
                      RefusalCase{"guaranteeAllOdd", set(guarantee(), &Request::odd, Bounds{5, 5}), "保証できません"}),
    [](const ::testing::TestParamInfo<RefusalCase>& i) { return std::string(i.param.name); });

TEST(DesignRandom, SameDrawsEverywhere) {
    for (double x : {0.0, 0.01, 0.5, 1.0, 3.7, 20.0}) EXPECT_NEAR(expNeg(x), std::exp(-x), 1e-12 * std::exp(-x)) << x;
    EXPECT_EQ(expNeg(64), 0);
    Random rng(1);
    int counts[3] = {};
    for (int i = 0; i < 3000; ++i) ++counts[rng.below(3)];
    for (int c : counts) EXPECT_NEAR(c, 1000, 100);
    int taken = 0;
    for (int i = 0; i < 1000; ++i) taken += rng.chance(std::log(2.0));
    EXPECT_NEAR(taken, 500, 60);
}

TEST(DesignFigures, TextsAndBounds) {
    EXPECT_EQ(ticketText(maskOf({30, 1, 12, 5, 9})), " 1, 5, 9,12,30");
    EXPECT_EQ(percentText(131519, kDraws), "77.40");
    EXPECT_EQ(percentText(16905, kDraws), "9.95");
    EXPECT_EQ(percentText(1, 8), "12.50");
    EXPECT_EQ(percentText(1, 800), "0.13");  // half up
    EXPECT_EQ(percentText(35, 35), "100.00");

    const int table[] = {4, 5, 7, 11, 14, 18, 27, 32, 37, 54, 61, 68, 94, 103, 116};
    for (int m = 6; m <= 20; ++m) EXPECT_EQ(schoenheimBound(m), table[m - 6]) << m;
    EXPECT_EQ(guaranteeBound(), 75);  // T(31,5,3) = 741

    EXPECT_NEAR(randomCoverage(1), 3381, 1e-6);
    // Two tickets: each draw is covered by 3,381 of the 169,911 tickets.
    EXPECT_NEAR(randomCoverage(2), 2 * 3381 - 3381.0 * 3380 / (kDraws - 1), 1e-6);
}

}  // namespace
}  // namespace kazuban::design
