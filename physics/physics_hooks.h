// The ways out of the physics code: sound requests, the drawing pass of the ball step and
// event reports. The application fills its world's hooks at start-up; every hook left null
// does nothing, so the physics runs headless in tests, tools and searches.
#pragma once

// What happened to a ball, as reported to on_event (tools and tests listen to these).
enum PhysicsEvent {
    EVENT_WATER,      // a ball began a run of contact with water
    EVENT_SAND,       // a ball began a run of contact with sand
    EVENT_WARP,       // a ball touched a warp entry pad
    EVENT_BUMPER,     // a ball hit a bumper post
    EVENT_RAIL,       // a ball hit a railing
    EVENT_BALL,       // two balls touched
    EVENT_EDGE,       // a ball touched one of the four walls around the grid
    EVENT_CONVEYOR,   // a ball rode a conveyor belt for one step
    EVENT_CUP,        // a ball dropped into the cup
    EVENT_REDROP,     // a ball that stopped in water was put back
    EVENT_PUTT,       // the putter struck the ball
    EVENT_COUNT
};

// Every hook gets the world's hooks.user back, so one program can serve several worlds.
struct PhysicsHooks {
    void* user = nullptr;

    // Sound. sound_enabled answers whether sound is switched on; with it null, no sound is
    // ever requested. play_sound asks the sound service to start effect id (a SoundId) and
    // returns false when it could not take the request now; the physics retries a few times
    // within the same call and then drops it. stop_sound stops effect id and rewinds it.
    bool (*sound_enabled)(void* user) = nullptr;
    bool (*play_sound)(void* user, int id) = nullptr;
    void (*stop_sound)(void* user, int id) = nullptr;

    // Drawing, called only in the drawing pass (the last ball step of a frame). rot is the
    // ODE 3 x 4 row-major rotation of the body; positions are world units.
    void (*draw_ball)(void* user, int slot, const double pos[3], const double rot[12], double radius) = nullptr;
    // The putter box, 8 x 32 x 8, centred at pos and turned by rot about z.
    void (*draw_putter)(void* user, const double pos[3], const double rot[12]) = nullptr;
    // The power meter beside the ball being aimed; meter is 1..54.
    void (*draw_power_meter)(void* user, float meter, const double ballPos[3]) = nullptr;

    // Reports every event to a listener (the simulate tool, tests). slot is the ball.
    void (*on_event)(void* user, PhysicsEvent event, int slot) = nullptr;

    // Reports every contact a ball makes in a ball step, with the GeomRole of what it touched
    // (ROLE_BALL for another ball). Costs nothing while null.
    void (*on_contact)(void* user, int slot, int role) = nullptr;
};

// How many times one sound request is offered to a busy sound service before it is dropped.
constexpr int SOUND_RETRY_LIMIT = 4;
