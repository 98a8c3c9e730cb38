// The score card's rules, alone: whose turn comes next, when a hole is over, and what a new
// hole starts from, for the corners a real round rarely reaches.
#include <gtest/gtest.h>

#include "hole/round_rules.h"

TEST(RoundRules, TheTurnSkipsPlayersWhoAreDoneAndNeverLoops)
{
    GameState game;
    game.playerCount = 4;
    game.currentPlayer = 2;
    game.players[2].holedOut = true;   // player 3
    pass_turn(game, true);
    EXPECT_EQ(game.currentPlayer, 4);
    pass_turn(game, true);
    EXPECT_EQ(game.currentPlayer, 1);
    pass_turn(game, false);   // no stroke taken yet: player 1 stays up
    EXPECT_EQ(game.currentPlayer, 1);

    // Everybody done (the hole's end normally comes first): the turn still ends, at player 1.
    for (Player& player : game.players) player.holedOut = true;
    game.currentPlayer = 3;
    pass_turn(game, true);
    EXPECT_EQ(game.currentPlayer, 1);
}

TEST(RoundRules, AHoleEndsWhenEveryScoreIsWrittenEvenPastTheCard)
{
    GameState game;
    game.playerCount = 2;
    game.currentHole = 18;
    count_stroke(game, 0);
    count_stroke(game, 0);
    count_stroke(game, 7);   // no such seat: nothing counted, nothing overrun
    EXPECT_EQ(game.players[0].holeStrokes, 2);
    score_hole(game, 0, game.players[0].holeStrokes);
    EXPECT_EQ(game.scoreTable[0][17], 2);
    EXPECT_EQ(game.players[0].holeStrokes, 0);
    EXPECT_FALSE(hole_complete(game));
    score_hole(game, 1, PICKUP_STROKES);
    EXPECT_TRUE(hole_complete(game));

    end_hole(game);
    EXPECT_EQ(game.currentHole, 19);
    EXPECT_EQ(game.currentPlayer, 1);
    EXPECT_EQ(game.holeAdvanceCountdown, 1);
    EXPECT_FALSE(game.ballReady);

    // Past the card's last column only the holed flags tell; no score is written there.
    EXPECT_FALSE(hole_complete(game));
    game.players[0].holedOut = game.players[1].holedOut = true;
    score_hole(game, 0, 5);
    EXPECT_TRUE(hole_complete(game));
    end_hole(game);
    EXPECT_EQ(game.currentHole, 19);   // never past the hole after the last
    EXPECT_FALSE(game.players[0].holedOut);

    GameState empty;
    empty.currentHole = 4;
    EXPECT_TRUE(hole_complete(empty));
    end_hole(empty);
    EXPECT_EQ(empty.currentHole, 1);
    EXPECT_EQ(empty.holeAdvanceCountdown, 0);
}
