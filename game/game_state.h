// The round's records: players, strokes, scores and where the round stands, plus the
// putting input state that the input handlers set and the ball step reads.
#pragma once

constexpr int MAX_PLAYERS = 4;
constexpr int MAX_HOLES = 18;
constexpr int MAX_NAME_LENGTH = 13;
constexpr int MAX_POWER = 54;
constexpr int PICKUP_STROKES = 12;
constexpr int HOLE_PAUSE_FRAMES = 30;

struct Player {
    char name[20] = {};            // 0..13 characters; empty = slot unused
    char ballColourName[40] = {};  // one of the eleven colour names
    int ballColour = 0;            // 1..11; 0 = none chosen
    int holeStrokes = 0;           // strokes on the current hole
    int* scores = nullptr;         // this player's row of scoreTable (set by the GameState)
    int holedOut = 0;              // ball in the cup or picked up on this hole
};

struct GameState {
    int playerCount = 0;            // 0 = no round (start screen or editor)
    int currentPlayer = 1;          // player on turn, 1-based
    int currentHole = 1;            // hole in play, 1-based; holeCount + 1 = course finished
    int holeAdvanceCountdown = 0;   // frames since a hole ended or a round began; 0 idle
    int goToHoleMode = 0;           // 0 scored; 1 Go To Hole dialog open; 2 moved, unscored
    int ballReady = 0;              // the ball on turn may be putted
    int scoreCardShown = 0;         // score card screen open
    int puttRequested = 0;          // Putt pressed, strike or cancel not yet come
    int scoreTable[MAX_PLAYERS][MAX_HOLES] = {};   // strokes per player and hole; 0 = not finished
    Player players[MAX_PLAYERS];

    GameState()
    {
        for (int p = 0; p < MAX_PLAYERS; ++p) players[p].scores = scoreTable[p];
    }
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;
};

extern GameState gameState;

// Putting input (owned by the input handlers; the ball step and camera read and write it).
struct AimInput {
    int aimMode = 0;           // 0 not aiming; 1 aiming; 3 centre camera on a ball put back after water
    int aimState = 0;          // 0 idle; 1 aiming just began; 2 putt struck, ball rolling
    int aimClicks = 0;         // 0 no aim in progress; 1 aim in progress
    float aimAngle = 0.0f;     // putt direction in degrees, world frame
    float aimOffset[2] = {};   // pointer-to-ball distance on screen, pixels
    float puttPower = 0.0f;    // 1..54 while aiming; counts down during the swing
    float struckPower = 0.0f;  // power frozen at the strike; non-zero = putt pending
    int meterFlipped = 0;      // power meter below-left of the ball
};

extern AimInput aimInput;
