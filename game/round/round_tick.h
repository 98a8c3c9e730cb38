// The round's clock. The game advances in ticks, 60 a second of wall time whatever the
// screen does: a slow picture is made up for with several ticks before the next one, and a
// hidden window goes on ticking without any. Everything that moves on its own belongs to the
// tick; drawing only shows what the last tick left.
#pragma once

struct GameSession;

constexpr int TICKS_PER_SECOND = 60;

// What one tick did.
struct TickReport {
    bool struck = false;     // the putter hit a ball
    float angle = 0.0f;      //   its direction, degrees
    float power = 0.0f;      //   its struck power
    bool rested = false;     // every ball came to rest after a stroke: the turn passed
    bool holed = false;      // a ball went into the cup or was picked up
    bool holeOver = false;   // the hole in play changed: the next one, or the course ended
    bool holeBegan = false;  // a hole of the round began (the first one too)
    bool replayEnded = false;   // Replay Last Putt ended and put everything back
};

// One tick of the hole as every machine and every replay plays it: the next player's ball
// onto the tee, a tee waiting for its ball, and one tick of the physics world.
void hole_tick(GameSession& s);
// The same, with the turn set up first: a resumed round or a machine catching up plays the
// hole unseen by this.
void replay_tick(GameSession& s);
