// The round kept as it is played: the aims, putts and pick-ups of the hole in play, written
// to the round file whenever the balls come to rest, played again headless to resume a
// round, and the hole's last putt played again on screen. No window code.
#pragma once

#include <string>
#include <vector>

#include "hole/hole_grid.h"
#include "hole/round_file.h"
#include "hole/round_state.h"
#include "physics/putt_play.h"

struct GameSession;

// Everything a replay puts back: the world's moving parts, the round, the aim and the tee.
struct RoundSnapshot {
    WorldSnapshot world;
    GameState round;
    AimInput aim;
    Tee tee;
    TeeState teeState = TeeState::Idle;
};

struct RoundLog {
    bool recording = false;                        // a round's hole is in play and kept
    int hole = 0;                                  // the hole the events belong to
    long holeStartStep = 0;                        // the world's ballSteps when it started
    int startOscillation = 1;                      // the blocks' phase when it started
    float lastRest[MAX_PLAYERS][3] = {};           // each ball's last rest when it started
    double quaternion[MAX_PLAYERS][4] = {};        // each ball's rotation when it started
    std::vector<RoundEvent> events;                // the hole's aims, putts and pick-ups
    int lastClicks = 0;                            // aimClicks at the end of the last frame
    int lastStrikeCount = 0;                       // the world's strikeCount then
    bool lastInFlight = false;                     // strokeInFlight then
    RoundSnapshot frameStart;                      // the start of this frame, while aiming
    bool haveLastPutt = false;                     // beforeLastPutt holds the hole's last putt
    RoundSnapshot beforeLastPutt;                  // the start of its frame, the putt armed
    bool replaying = false;                        // Replay Last Putt runs on screen
    RoundSnapshot afterReplay;                     // what the replay comes back to
    int replayStrikeCount = 0;                     // strikeCount when the replay began
    long replayStepLimit = 0;                      // the replay ends here whatever happens
    bool menuWasShown = false;                     // the play menu, hidden while it runs
    bool menuButtonWasShown = false;               // "Hide Menu", hidden while it runs
    std::string hashedCourse;                      // the course file courseHash belongs to
    unsigned long long courseHash = 0;             // its hash, read once
    std::string saveError;                         // the last save's failure
    bool saveErrorTold = false;                    // it has been reported
};

// The round file of this run's user ("round_in_play.rnd" beside the leader boards).
std::string round_file_path(const GameSession& s);
bool round_file_exists(const GameSession& s);
void remove_round_file(GameSession& s);

// The round flow loaded a hole of a round: a new record begins and the file is written.
void note_hole_started(GameSession& s);
// The course is finished: the round file goes.
void note_round_finished(GameSession& s);
// The round ends without finishing (Restart): nothing more is kept; the file stays.
void stop_round_log(GameSession& s);
// The player on turn is about to pick the ball up (PickUp) or lose the turn (Skip).
void note_turn_given_up(GameSession& s, RoundEventKind kind);

// The frame driver's marks around draw_scene's work: before the turn set-up, and after the
// ball steps and the blocks' advance. They record the aims and putts and write the file
// once every ball has come to rest.
void round_frame_begins(GameSession& s);
void round_frame_ends(GameSession& s);

// Writes the round file now; false (and why in s.roundLog.saveError) when it cannot.
bool save_round(GameSession& s);
// The text the round file would hold now, made in memory (for a machine that joins again);
// false when no round is being kept.
bool round_file_text(GameSession& s, std::string& out);

// Puts the round of file back into s, whose course must be the file's course, loaded:
// players, scores, the hole started and its events played headless until every ball lies
// where it lay. False with a message when the hole cannot be loaded or does not play back
// to the same scores and turn.
bool restore_round(GameSession& s, const RoundFile& file, std::string* error);

// Replay Last Putt: the hole's last putt again from where the balls were before it. False
// with the reason when there is none to replay now.
bool begin_last_putt_replay(GameSession& s, std::string* why);
// True once the replay has ended and everything is back as it was (called each frame by
// round_frame_ends; the screen uses it to show its widgets again).
bool last_putt_replay_ended(GameSession& s);

RoundSnapshot capture_round(const GameSession& s);
void restore_round_snapshot(GameSession& s, const RoundSnapshot& snapshot);
