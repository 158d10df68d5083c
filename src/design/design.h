#pragma once
// Ticket design: tickets chosen by the draws they cover. A ticket covers a
// draw when the two share at least three main numbers, which is exactly "wins
// 4等 or better" whatever the bonus; each ticket covers 3,381 of the 169,911
// main sets. Three tasks:
//  - Best: N distinct tickets covering as many draws as the search finds;
//  - Guarantee: tickets covering every draw, as few as it finds;
//  - Wheel: tickets made of the player's m numbers such that whenever at
//    least P of the drawn numbers are among them, some ticket shares three
//    with the draw; equivalently every P of the m share three with a ticket.
// The search is fixed by its seed and effort; the figure a result states is
// counted afresh by a plain enumeration once the search is done.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kazuban::design {

using Ticket = std::uint32_t;  // bit v for each number v (1..31)
inline constexpr Ticket kAllNumbers = 0xFFFFFFFEu;
inline constexpr std::int64_t kDraws = 169'911;
inline constexpr std::int64_t kDrawsPerTicket = 3'381;
inline constexpr int kMaxTickets = 1000;

enum class Mode { Best, Guarantee, Wheel };

struct Bounds {
    int low = 0, high = 0;
};

// What a ticket is worth beyond the draws it covers, for the option that
// avoids combinations many other players hold. Coverage stays the first
// goal: of the designs covering as many units as the search reached, the
// one of higher total value is taken. A ticket `usable` turns down is never
// part of a design.
struct Preference {
    std::function<double(Ticket)> value;  // empty: no preference among equal covers
    std::function<bool(Ticket)> usable;   // empty: every ticket
};

struct Request {
    Mode mode = Mode::Best;
    int tickets = 1;                // Best: N, 1..1000
    std::optional<Ticket> numbers;  // Best, Guarantee: only these; Wheel: the player's numbers
    Ticket excluded = 0;            // Best, Guarantee
    std::optional<Bounds> sum;      // each ticket's sum, Best and Guarantee
    std::optional<Bounds> odd;      // each ticket's odd numbers, Best and Guarantee
    std::optional<int> atLeast;     // Wheel: P, 3..5 (3 when not given)
    std::uint64_t seed = 1;
    int effort = 1;  // the amount of search, 1 or more
    // Wheel: tickets on the player's numbers to complete and shrink, the
    // only start of the search (the tool that fills the stored table).
    std::vector<Ticket> from;
    std::shared_ptr<const Preference> prefer;  // none: the tickets' value plays no part
};

struct Result {
    Mode mode = Mode::Best;
    int numbers = 0;                 // how many numbers the tickets may use
    std::vector<Ticket> tickets;     // ascending as combination texts
    std::int64_t covered = 0;        // units sharing three with some ticket, counted afresh
    std::int64_t units = 0;          // the draws (169,911), or for a wheel the C(m, P) sets of P of its numbers
    std::int64_t searchCovered = 0;  // the search's own count; equal to `covered` unless it is faulty
    bool cancelled = false;          // stopped early; the tickets are the best found by then
};

// The state of a running search: the best result so far (for Guarantee and
// Wheel the smallest complete one) and the moves made of those planned
// (planned 0 when the end is not known in advance: the smaller covers are
// tried one by one until one is not found).
struct Progress {
    int tickets = 0;
    std::int64_t covered = 0, units = 0;
    std::int64_t done = 0, planned = 0;
};
using ProgressFn = std::function<void(const Progress&)>;

// The message for a request that cannot be run, or nullopt.
std::optional<std::string> refusal(const Request& r);

// Runs a request that refusal() lets pass. `progress` is called on the
// calling thread now and then (every 65,536 moves of the search: under a
// second, often far less); when `cancel` turns true the search stops soon
// (well under a second) and the best result found so far is returned, proved
// like any other. At effort 1 on the development machine: best N about 2-5 s, the
// guarantee about 11 s, wheels of up to 20 numbers up to about 30 s.
Result runDesign(const Request& r, const ProgressFn& progress = {}, const std::atomic<bool>* cancel = nullptr);

// " 1, 5, 9,12,30": the combination-file form.
std::string ticketText(Ticket t);
// The command-line report: mode, numbers, tickets, covered, percent, then
// the ticket lines; LF line ends.
std::string formatResult(const Result& r);
// 100 x covered / units with two decimals, rounded half up: "77.40".
std::string percentText(std::int64_t covered, std::int64_t units);
// The tickets as a combination file (cp932, CR LF, atomically) that 呼出し
// loads. Throws AppError; an old file stays whole.
void saveTickets(const std::filesystem::path& file, const Result& r);

// What the window states beside a result:
// the lower bound ceil(m/5 ceil((m-1)/4 ceil((m-2)/3))) on the tickets of a
// wheel with P = 3 (Schönheim);
int schoenheimBound(int m);
// the lower bound on the tickets of a guarantee of every draw: the triples
// of the tickets must meet every draw, so there are at least T(31,5,3) of
// them, the Turán number, with (n - 3) T(n) >= n T(n - 1) from T(8) = 8;
// each ticket holds ten: 75.
int guaranteeBound();
// the draws that N distinct tickets chosen at random cover on average,
// exactly: 169,911 x (1 - C(169,911 - 3,381, N) / C(169,911, N)).
double randomCoverage(int n);

}  // namespace kazuban::design
