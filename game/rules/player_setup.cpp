#include "game/rules/player_setup.h"

#include <cctype>
#include <cstring>

const char* const NAME_CHARACTERS =
    " abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ!~@#$%^&+1234567890().,><:][}{=";

const char* const BALL_COLOUR_NAMES[BALL_COLOUR_COUNT] = {
    "White Ball",  "Red Ball",     "Orange Ball",  "Yellow Ball",        "Green Ball",    "Blue Ball",
    "Purple Ball", "Red Sun Ball", "Turtle Ball",  "Purple Stripe Ball", "Sky Blue Ball",
};

namespace {

bool equal_ignoring_case(const char* a, const char* b)
{
    while (*a && *b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
        ++a;
        ++b;
    }
    return *a == *b;
}

void trim(char* name)
{
    size_t length = std::strlen(name);
    while (length > 0 && name[length - 1] == ' ') name[--length] = '\0';
    size_t start = 0;
    while (name[start] == ' ') ++start;
    if (start > 0) std::memmove(name, name + start, length - start + 1);
}

}  // namespace

void trim_player_names(GameState& game)
{
    for (Player& player : game.players) trim(player.name);
}

int ball_colour_for_name(const char* text)
{
    for (int k = 0; k < BALL_COLOUR_COUNT; ++k) {
        if (equal_ignoring_case(text, BALL_COLOUR_NAMES[k])) return k + 1;
    }
    return 0;
}

void assign_ball_colours_from_names(GameState& game)
{
    for (Player& player : game.players) {
        const int colour = ball_colour_for_name(player.ballColourName);
        if (colour != 0) player.ballColour = colour;
    }
}

void give_free_colours(int colours[MAX_PLAYERS], const bool chosen[MAX_PLAYERS], const bool named[MAX_PLAYERS])
{
    bool taken[BALL_COLOUR_COUNT + 1] = {};
    bool keep[MAX_PLAYERS] = {};
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        keep[k] = chosen[k] && colours[k] >= 1 && colours[k] <= BALL_COLOUR_COUNT;
        if (keep[k] && named[k]) taken[colours[k]] = true;
    }
    auto first_free = [&taken] {
        for (int colour = 1; colour <= BALL_COLOUR_COUNT; ++colour)
            if (!taken[colour]) return colour;
        return 1;   // more seats than colours cannot happen with four seats
    };
    for (int pass = 0; pass < 2; ++pass) {
        const bool namedPass = pass == 0;
        for (int k = 0; k < MAX_PLAYERS; ++k) {
            if (keep[k] || named[k] != namedPass) continue;
            colours[k] = first_free();
            taken[colours[k]] = true;
        }
    }
}

void give_players_free_colours(GameState& game, const bool chosen[MAX_PLAYERS])
{
    int colours[MAX_PLAYERS] = {};
    bool named[MAX_PLAYERS] = {};
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        const Player& player = game.players[k];
        named[k] = player.name[0] != '\0';
        colours[k] = chosen[k] ? ball_colour_for_name(player.ballColourName) : 0;
    }
    give_free_colours(colours, chosen, named);
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        Player& player = game.players[k];
        player.ballColour = colours[k];
        set_ball_colour_name(player, BALL_COLOUR_NAMES[colours[k] - 1]);
    }
}

int compact_players(GameState& game)
{
    int count = 0;
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        Player& from = game.players[k];
        if (from.name[0] == '\0') continue;
        if (count != k) {
            Player& to = game.players[count];
            std::memcpy(to.name, from.name, sizeof to.name);
            std::memcpy(to.ballColourName, from.ballColourName, sizeof to.ballColourName);
            to.ballColour = from.ballColour;
            to.seat = from.seat;
            from.name[0] = '\0';
            from.seat = Seat::Person;
        }
        ++count;
    }
    return count;
}

int leader_board_entrants(const GameState& game, const char* names[MAX_PLAYERS], int scores[MAX_PLAYERS][MAX_HOLES])
{
    int count = 0;
    // A round played with the aim guide is nobody's entry.
    if (game.aimGuideUsed) return 0;
    for (int p = 0; p < game.playerCount && p < MAX_PLAYERS; ++p) {
        if (game.players[p].seat != Seat::Person) continue;
        names[count] = game.players[p].name;
        std::memcpy(scores[count], game.scoreTable[p], sizeof scores[count]);
        ++count;
    }
    return count;
}

void clear_player_names(GameState& game)
{
    for (Player& player : game.players) player.name[0] = '\0';
}

void set_player_name(Player& player, const char* text)
{
    std::strncpy(player.name, text, MAX_NAME_LENGTH);
    player.name[MAX_NAME_LENGTH] = '\0';
}

void set_ball_colour_name(Player& player, const char* text)
{
    std::strncpy(player.ballColourName, text, sizeof player.ballColourName - 1);
    player.ballColourName[sizeof player.ballColourName - 1] = '\0';
}
