#include "game/computer_round.h"

#include <cctype>
#include <climits>
#include <ctime>
#include <memory>

#include "game/computer_player.h"
#include "game/putt_search.h"
#include "game/seat_choice.h"
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

HoleGame play_hole_game(const HoleGrid& grid, Seat seat, std::uint64_t roundSeed, int hole, int player)
{
    HoleGame game;
    auto table = std::make_unique<PuttTable>();
    table->grid = grid;
    PhysicsWorld& w = table->world;
    if (!start_hole_play(w, 1)) {
        game.strokes = PICKUP_STROKES;
        game.pickedUp = true;
        return game;
    }
    const Tee tee = table->grid.tee;
    TurnSnapshot turn = snapshot_tee(grid);
    for (int stroke = 1; stroke <= COMPUTER_PICKUP_AFTER; ++stroke) {
        DecisionCost cost;
        cost.teeShot = stroke == 1;
        const double started = cpu_ms();
        PuttSearch search(turn, seat, dice_seed(roundSeed, hole, player, stroke, DicePurpose::Search));
        search.advance(INT_MAX);
        cost.cpuMs = cpu_ms() - started;
        cost.putts = search.simulated();
        game.decisions.push_back(cost);

        Dice hand{dice_seed(roundSeed, hole, player, stroke, DicePurpose::Execution)};
        const PointerPutt played = noisy_putt(search.decision(), seat, hand);
        restore_ball_rest(w, tee, turn.rest);
        const PuttResult result = play_putt(w, played.angle, played.power, PuttWatch{});
        if (result.holed) {
            game.strokes = stroke;
            shutdown_physics(w);
            return game;
        }
        turn.rest = capture_ball_rest(w);
    }
    shutdown_physics(w);
    game.strokes = PICKUP_STROKES;
    game.pickedUp = true;
    return game;
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
