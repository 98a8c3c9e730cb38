// The players' names and ball colours as the player dialog hands them over.
#pragma once

#include "hole/round_state.h"

constexpr int BALL_COLOUR_COUNT = 11;
// The characters a name may hold (the first is a blank).
extern const char* const NAME_CHARACTERS;
// The colour boxes' entries, index 0 = ball colour 1.
extern const char* const BALL_COLOUR_NAMES[BALL_COLOUR_COUNT];

// Removes blanks at the end, then at the start, of each of the four names.
void trim_player_names(GameState& game);
// The ball colour (1..11) whose name matches text without regard to case; 0 for none.
int ball_colour_for_name(const char* text);
// Sets each player's ball colour from its colour name; an unknown name keeps the colour.
void assign_ball_colours_from_names(GameState& game);
// Colours 1..11 for the four seats: a seat that chose one (chosen[k], colours[k] in 1..11)
// keeps it; every other seat gets the first colour in the list's order that no seat has yet,
// the named seats' choices counted first, then the named seats without one in seat order,
// then the empty seats (whose colour only shows in the player dialog). Two named seats thus
// share a colour only when both chose it.
void give_free_colours(int colours[MAX_PLAYERS], const bool chosen[MAX_PLAYERS], const bool named[MAX_PLAYERS]);
// The same on the players: chosen[k] says player k picked the colour its colour name holds;
// the others get a free one. Sets every player's colour and colour name.
void give_players_free_colours(GameState& game, const bool chosen[MAX_PLAYERS]);
// Moves the players with names to the front, keeping order and colours; returns how many.
int compact_players(GameState& game);
// The people among the players (computer seats left out), their names and score rows moved
// to the front of names and scores; returns how many.
int leader_board_entrants(const GameState& game, const char* names[MAX_PLAYERS], int scores[MAX_PLAYERS][MAX_HOLES]);
// Empties all four names.
void clear_player_names(GameState& game);
// Copies text into a name field of 20 bytes, cut to MAX_NAME_LENGTH characters.
void set_player_name(Player& player, const char* text);
// Copies text into the colour name field of 40 bytes, cut to fit.
void set_ball_colour_name(Player& player, const char* text);
