#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "game/rules/aim.h"
#include "game/rules/status_line.h"
#include "hole/course.h"

namespace {

// The direction the ball goes on screen for an aim: the world turned by viewAngle.
double screen_direction(float aimAngle, float viewAngle)
{
    double a = std::fmod(aimAngle + viewAngle + 720.0, 360.0);
    return a;
}

}  // namespace

TEST(Aim, PointerRightOfTheBallSendsItLeft)
{
    AimResult aim = compute_aim_angle(300, 225, 400, 225, 45);
    EXPECT_NEAR(aim.aimAngle, 135.0, 1e-4);
    EXPECT_NEAR(screen_direction(aim.aimAngle, 45), 180.0, 1e-4);
}

TEST(Aim, BallAlwaysGoesAwayFromThePointer)
{
    // pointer positions all round the ball (y from the top), every view angle
    const float viewAngles[] = {45, 135, 225, 315};
    for (float view : viewAngles) {
        for (int degrees = 0; degrees < 360; degrees += 15) {
            const double theta = degrees * M_PI / 180.0;   // screen angle, y up
            const float px = 300 + 80 * std::cos(theta);
            const float py = 225 - 80 * std::sin(theta);
            AimResult aim = compute_aim_angle(300, 225, px, py, view);
            const double away = std::fmod(degrees + 180.0, 360.0);
            double diff = std::fabs(screen_direction(aim.aimAngle, view) - away);
            if (diff > 180) diff = 360 - diff;
            EXPECT_LT(diff, 1e-3) << "view " << view << " pointer at " << degrees;
        }
    }
}

TEST(Aim, PowerFollowsTheDistanceAndIsClamped)
{
    AimResult aim = compute_aim_angle(300, 225, 400, 185, 45);   // 100 right, 40 above
    EXPECT_EQ(aim.offsetU, 100);
    EXPECT_EQ(aim.offsetV, 40);
    EXPECT_FLOAT_EQ(meter_power(aim.offsetU, aim.offsetV), 54.0f);   // 56 capped
    EXPECT_FLOAT_EQ(meter_power(25, 25), 20.0f);
    EXPECT_FLOAT_EQ(meter_power(3.9f, 0.9f), 1.0f);                  // at least 1

    AimResult onBall = compute_aim_angle(300, 225, 300, 225, 45);    // pointer on the ball
    EXPECT_FLOAT_EQ(meter_power(onBall.offsetU, onBall.offsetV), 1.0f);
    EXPECT_FALSE(std::isnan(onBall.aimAngle));
}

TEST(StatusLine, ShowsNameStrokesHoleAndPar)
{
    GameState game;
    Course holes;
    holes.holeCount = 9;
    holes.parTable[2] = 4;
    std::strcpy(game.players[1].name, "Bartholomew");
    game.players[1].holeStrokes = 120;
    game.currentPlayer = 2;
    game.currentHole = 3;
    char text[96];
    build_status_text(text, sizeof text, game, holes);
    EXPECT_STREQ(text, "Bartho  99  Hole 3  Par 4");
    game.currentHole = 10;
    build_status_text(text, sizeof text, game, holes);
    EXPECT_STREQ(text, "Finished Course");
    game.currentPlayer = 1;
    game.currentHole = 1;
    game.players[1].name[0] = '\0';
    game.players[1].holeStrokes = 0;
}
