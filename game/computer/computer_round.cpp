#include "game/computer/computer_round.h"

#include <cctype>
#include <climits>
#include <ctime>
#include <memory>

#include "game/computer/computer_player.h"
#include "game/computer/putt_search.h"
#include "game/rules/seat_choice.h"
#include "physics/physics.h"
#include "physics/putt_play.h"

namespace {

double cpu_ms()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

bool same_word(const char* a, const char* b)
{
    while (*a && *b)
        if (std::tolower(static_cast<unsigned char>(*a++)) != std::tolower(static_cast<unsigned char>(*b++))) return false;
    return *a == *b;
}

}  // namespace

HoleGameRun::HoleGameRun(const HoleGrid& grid, Seat seatPlayed, std::uint64_t seed, int holeNumber, int playerNumber)
    : table(std::make_unique<PuttTable>()), turn(std::make_unique<TurnSnapshot>()), seat(seatPlayed), roundSeed(seed),
      hole(holeNumber), player(playerNumber)
{
    table->grid = grid;
    if (!start_hole_play(table->world, 1)) {
        finish(PICKUP_STROKES, true);
        return;
    }
    *turn = snapshot_tee(grid);
}

HoleGameRun::~HoleGameRun()
{
    if (table && physics_ready(table->world)) shutdown_physics(table->world);
}

void HoleGameRun::finish(int strokes, bool pickedUp)
{
    game.strokes = strokes;
    game.pickedUp = pickedUp;
    search.reset();
    done = true;
    if (physics_ready(table->world)) shutdown_physics(table->world);
}

bool HoleGameRun::advance(int maxPutts)
{
    while (!done && maxPutts > 0) {
        const double started = cpu_ms();
        if (!search) {
            decisionMs = 0;
            search = std::make_unique<PuttSearch>(*turn, seat, dice_seed(roundSeed, hole, player, stroke, DicePurpose::Search));
        }
        const long before = search->simulated();
        search->advance(maxPutts);
        decisionMs += cpu_ms() - started;
        maxPutts -= static_cast<int>(search->simulated() - before);
        if (!search->decided()) return false;

        DecisionCost cost;
        cost.teeShot = stroke == 1;
        cost.cpuMs = decisionMs;
        cost.putts = search->simulated();
        game.decisions.push_back(cost);
        Dice hand{dice_seed(roundSeed, hole, player, stroke, DicePurpose::Execution)};
        const PointerPutt played = noisy_putt(search->decision(), seat, hand);
        search.reset();
        PhysicsWorld& w = table->world;
        restore_ball_rest(w, table->grid.tee, turn->rest);
        const PuttResult result = play_putt(w, played.angle, played.power, PuttWatch{});
        maxPutts -= 1;
        if (result.holed) {
            finish(stroke, false);
            break;
        }
        turn->rest = capture_ball_rest(w);
        if (++stroke > COMPUTER_PICKUP_AFTER) finish(PICKUP_STROKES, true);
    }
    return done;
}

HoleGame play_hole_game(const HoleGrid& grid, Seat seat, std::uint64_t roundSeed, int hole, int player)
{
    HoleGameRun run(grid, seat, roundSeed, hole, player);
    while (!run.advance(INT_MAX)) {
    }
    return run.result();
}

bool seat_from_name(const char* text, Seat& out)
{
    if (same_word(text, "novice")) out = Seat::Novice;
    else if (same_word(text, "club")) out = Seat::Club;
    else if (same_word(text, "expert")) out = Seat::Expert;
    else return false;
    return true;
}

const char* seat_name(Seat seat)
{
    switch (seat) {
    case Seat::Novice: return "Novice";
    case Seat::Club: return "Club";
    case Seat::Expert: return "Expert";
    default: return "Person";
    }
}

Seat next_seat(Seat seat)
{
    switch (seat) {
    case Seat::Person: return Seat::Novice;
    case Seat::Novice: return Seat::Club;
    case Seat::Club: return Seat::Expert;
    default: return Seat::Person;
    }
}
