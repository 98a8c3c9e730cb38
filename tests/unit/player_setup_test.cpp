#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/rules/player_setup.h"

namespace {

void reset(GameState& game)
{
    for (Player& player : game.players) {
        player.name[0] = '\0';
        player.ballColourName[0] = '\0';
        player.ballColour = 0;
    }
}

}  // namespace

TEST(PlayerSetup, NamesLoseBlanksAtBothEnds)
{
    GameState game;
    reset(game);
    set_player_name(game.players[0], "  Alice  ");
    set_player_name(game.players[1], "     ");
    set_player_name(game.players[2], "Bo b");
    trim_player_names(game);
    EXPECT_STREQ(game.players[0].name, "Alice");
    EXPECT_STREQ(game.players[1].name, "");
    EXPECT_STREQ(game.players[2].name, "Bo b");
}

TEST(PlayerSetup, NamesAreCutToThirteenCharacters)
{
    GameState game;
    reset(game);
    set_player_name(game.players[0], "Abcdefghijklmnopqrstuvwxyz");
    EXPECT_STREQ(game.players[0].name, "Abcdefghijklm");
    std::string longColour(200, 'x');
    set_ball_colour_name(game.players[0], longColour.c_str());
    EXPECT_EQ(std::strlen(game.players[0].ballColourName), 39u);
}

TEST(PlayerSetup, PlayersWithNamesMoveToTheFrontWithTheirColours)
{
    GameState game;
    reset(game);
    set_player_name(game.players[1], "Bob");
    set_ball_colour_name(game.players[1], "turtle BALL");
    set_player_name(game.players[3], "Dee");
    set_ball_colour_name(game.players[3], "Sky Blue Ball");
    assign_ball_colours_from_names(game);
    EXPECT_EQ(compact_players(game), 2);
    EXPECT_STREQ(game.players[0].name, "Bob");
    EXPECT_EQ(game.players[0].ballColour, 9);
    EXPECT_STREQ(game.players[1].name, "Dee");
    EXPECT_EQ(game.players[1].ballColour, 11);
    EXPECT_STREQ(game.players[2].name, "");
    EXPECT_STREQ(game.players[3].name, "");
}

TEST(PlayerSetup, ColourNamesMatchWithoutRegardToCase)
{
    EXPECT_EQ(ball_colour_for_name("White Ball"), 1);
    EXPECT_EQ(ball_colour_for_name("PURPLE STRIPE BALL"), 10);
    EXPECT_EQ(ball_colour_for_name("red sun ball"), 8);
    EXPECT_EQ(ball_colour_for_name("Red Sun"), 0);
    EXPECT_EQ(ball_colour_for_name(""), 0);
    GameState game;
    reset(game);
    game.players[0].ballColour = 4;
    set_ball_colour_name(game.players[0], "Plaid Ball");   // no such colour: kept
    assign_ball_colours_from_names(game);
    EXPECT_EQ(game.players[0].ballColour, 4);
}

TEST(PlayerSetup, OnlyListedCharactersAreValidInNames)
{
    EXPECT_EQ(NAME_CHARACTERS[0], ' ');
    EXPECT_EQ(std::strchr(NAME_CHARACTERS, '*'), nullptr);   // would break the board file
    EXPECT_NE(std::strchr(NAME_CHARACTERS, '~'), nullptr);
}

TEST(PlayerSetup, PlayersWhoChooseNoColourGetTheFirstFreeOneInListOrder)
{
    const bool allNamed[MAX_PLAYERS] = {true, true, true, true};
    const bool noneChosen[MAX_PLAYERS] = {};
    int colours[MAX_PLAYERS] = {};
    give_free_colours(colours, noneChosen, allNamed);
    EXPECT_EQ(std::vector<int>(colours, colours + 4), (std::vector<int>{1, 2, 3, 4}));   // White, Red, Orange, Yellow

    // Player 3 chose White: it is theirs, and the others move along the list past it.
    const bool thirdChose[MAX_PLAYERS] = {false, false, true, false};
    int withChoice[MAX_PLAYERS] = {0, 0, 1, 0};
    give_free_colours(withChoice, thirdChose, allNamed);
    EXPECT_EQ(std::vector<int>(withChoice, withChoice + 4), (std::vector<int>{2, 3, 1, 4}));

    // Two who both chose Sky Blue keep it; an empty seat takes nothing from the named ones.
    const bool twoChose[MAX_PLAYERS] = {true, false, true, false};
    const bool firstThreeNamed[MAX_PLAYERS] = {true, false, true, true};
    int shared[MAX_PLAYERS] = {11, 0, 11, 0};
    give_free_colours(shared, twoChose, firstThreeNamed);
    EXPECT_EQ(std::vector<int>(shared, shared + 4), (std::vector<int>{11, 2, 11, 1}));
}

TEST(PlayerSetup, FreeColoursReachThePlayersAndTheirColourNames)
{
    GameState game;
    reset(game);
    for (int k = 0; k < 4; ++k) set_player_name(game.players[k], ("P" + std::to_string(k + 1)).c_str());
    set_ball_colour_name(game.players[1], "Red Ball");
    set_ball_colour_name(game.players[3], "red ball");   // a stale name, not chosen: ignored
    const bool chosen[MAX_PLAYERS] = {false, true, false, false};
    give_players_free_colours(game, chosen);
    EXPECT_EQ(game.players[0].ballColour, 1);
    EXPECT_EQ(game.players[1].ballColour, 2);
    EXPECT_EQ(game.players[2].ballColour, 3);
    EXPECT_EQ(game.players[3].ballColour, 4);
    EXPECT_STREQ(game.players[3].ballColourName, "Yellow Ball");
}
