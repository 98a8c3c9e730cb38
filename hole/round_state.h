// The round's records: players, strokes, scores and where the round stands, plus the putting
// input that the input handlers set and the ball step reads. Plain values: a round can be
// copied, kept and compared, and the physics, drawing and sound may read it.
#pragma once

constexpr int MAX_PLAYERS = 4;
constexpr int MAX_HOLES = 18;
constexpr int MAX_NAME_LENGTH = 13;
constexpr int MAX_POWER = 54;
constexpr int PICKUP_STROKES = 12;
constexpr int HOLE_PAUSE_FRAMES = 30;

// What Go To Hole did to the round.
enum class GoToHoleMode {
    Scored = 0,       // the round is scored as played
    DialogOpen = 1,   // the Go To Hole dialog is open
    Moved = 2,        // the round moved to another hole and is no longer scored
};

// Who plays a seat: a person at the mouse, or the computer at one of its three levels.
enum class Seat {
    Person = 0,
    Novice = 1,
    Club = 2,
    Expert = 3,
};

struct Player {
    char name[20] = {};            // 0..13 characters; empty = slot unused
    char ballColourName[40] = {};  // one of the eleven colour names
    int ballColour = 0;            // 1..11; 0 = none chosen
    int holeStrokes = 0;           // strokes on the current hole
    bool holedOut = false;         // ball in the cup or picked up on this hole
    Seat seat = Seat::Person;      // who plays this seat
};

struct GameState {
    int playerCount = 0;                          // 0 = no round (start screen or editor)
    int currentPlayer = 1;                        // player on turn, 1-based
    int currentHole = 1;                          // hole in play, 1-based; holeCount + 1 = course finished
    int holeAdvanceCountdown = 0;                 // frames since a hole ended or a round began; 0 idle
    GoToHoleMode goToHoleMode = GoToHoleMode::Scored;
    bool ballReady = false;                       // the ball on turn may be putted
    bool scoreCardShown = false;                  // score card screen open
    bool puttRequested = false;                   // Putt pressed, strike or cancel not yet come
    int scoreTable[MAX_PLAYERS][MAX_HOLES] = {};  // strokes per player and hole; 0 = not finished
    Player players[MAX_PLAYERS];
    unsigned long long roundSeed = 0;             // drawn when a round begins; the computer's dice
    bool aimGuideUsed = false;                    // the aim guide was shown while aiming this round
};

// Where the putting stands.
enum class AimMode {
    Off = 0,         // not aiming
    Aiming = 1,      // the pointer sets direction and power
    Redropped = 3,   // centre the camera on a ball put back after water
};

enum class AimPhase {
    Idle = 0,     // nothing under way
    Began = 1,    // aiming just began: the camera jumps to the ball
    Struck = 2,   // the putt was struck and the ball rolls
};

// The two inputs of the aiming state machine, with the codes the input handlers send.
enum class AimCode {
    Start = 101,   // the Putt button or the window edge: start (or cancel) aiming
    Strike = 32,   // a left click while aiming
};

// Putting input (owned by the input handlers; the ball step and camera read and write it).
struct AimInput {
    AimMode aimMode = AimMode::Off;
    AimPhase aimState = AimPhase::Idle;
    int aimClicks = 0;         // 0 no aim in progress; 1 aim in progress; 2 for one moment: cancel
    float aimAngle = 0.0f;     // putt direction in degrees, world frame
    float aimOffset[2] = {};   // pointer-to-ball distance on screen, pixels
    float puttPower = 0.0f;    // 1..54 while aiming; counts down during the swing
    float struckPower = 0.0f;  // power frozen at the strike; non-zero = putt pending
    bool meterFlipped = false; // power meter on the other side of the aim line
};
