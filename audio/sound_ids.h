// The eleven sound effects, by id (their load order from sounds/).
#pragma once

enum SoundId {
    SOUND_BALL_HIT_WOOD = 0,    // ball strikes a railing
    SOUND_PUTTER_HIT_BALL = 1,  // the putt is struck
    SOUND_BALL_IN_CUP = 2,
    SOUND_BALL_IN_WATER = 3,
    SOUND_WARP = 4,
    SOUND_SAND = 5,
    SOUND_BLOCK_MOVING = 6,     // oscillating blocks start to move; stopped with rewind
    SOUND_BUMPER = 7,
    SOUND_CONVEYOR = 8,
    SOUND_BALL_HIT_BALL = 9,
    SOUND_BALL_HIT_EDGE = 10,   // one of the four boundary walls
    SOUND_COUNT = 11
};

// File names under sounds/, indexed by SoundId.
inline const char* const SOUND_FILES[SOUND_COUNT] = {
    "ball_hit_wood.wav", "putter_hit_ball.wav", "ball_in_cup.wav", "ball_in_water.wav",
    "warp.wav",          "sand.wav",            "block_moving.wav", "bumper.wav",
    "conveyor.wav",      "ball_hit_ball.wav",   "ball_hit_edge.wav",
};
