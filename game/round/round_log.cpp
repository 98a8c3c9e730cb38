// Keeping the round: recording the hole's aims and putts, writing the round file, playing a
// hole's record again headless to resume, and Replay Last Putt.
#include "game/round/round_tick.h"
#include "game/round/round_log.h"
#include "game/round/round_events.h"

#include <cstdio>
#include <cstring>

#include "game/rules/player_setup.h"
#include "game/round/round_flow.h"
#include "game/round/session.h"
#include "physics/physics.h"
#include "platform/fs.h"
#include "platform/paths.h"

namespace {

bool round_in_play(const GameSession& s)
{
    const GameState& game = s.round;
    return s.roundLog.recording && game.playerCount > 0 && game.holeAdvanceCountdown == 0 &&
           game.currentHole == s.roundLog.hole && game.currentHole <= s.course.holeCount;
}

long hole_steps(const GameSession& s) { return s.physics.ballSteps - s.roundLog.holeStartStep; }

int last_putt_index(const std::vector<RoundEvent>& events)
{
    for (int k = static_cast<int>(events.size()) - 1; k >= 0; --k)
        if (events[k].kind == RoundEventKind::Putt) return k;
    return -1;
}

// The frame-start snapshot made into the start of a replay of the putt the world just
// struck: the swing is left out and the putt armed for its step (the swing moves nothing).
RoundSnapshot armed_before(const RoundSnapshot& frameStart, long strikeStep, float angle, float power)
{
    RoundSnapshot before = frameStart;
    StrokeState& st = before.world.stroke;
    st.swingActive = false;
    st.strokeForce = 0;
    st.followThrough = 0;
    st.armedStep = strikeStep;
    st.armedAngle = angle;
    st.armedPower = power;
    before.aim.aimClicks = 1;
    before.aim.struckPower = 0;
    before.aim.puttPower = 0;
    return before;
}

RoundFile round_file_of(GameSession& s)
{
    RoundLog& log = s.roundLog;
    const GameState& game = s.round;
    RoundFile file;
    file.coursePath = s.currentFileName;
    // The course is read for its hash once a hole, not at every stroke.
    if (log.hashedCourse != file.coursePath) {
        std::string ignored;
        log.courseHash = 0;
        hash_file(file.coursePath, log.courseHash, &ignored);
        log.hashedCourse = file.coursePath;
    }
    file.courseHash = log.courseHash;
    file.holeCount = s.course.holeCount;
    file.roundSeed = game.roundSeed;
    file.mode = game.goToHoleMode == GoToHoleMode::Moved ? GoToHoleMode::Moved : GoToHoleMode::Scored;
    file.aimGuideUsed = game.aimGuideUsed;
    for (int p = 0; p < game.playerCount && p < MAX_PLAYERS; ++p) {
        const Player& player = game.players[p];
        file.seats.push_back({player.name, player.ballColour < 1 ? 1 : player.ballColour, player.seat});
        std::memcpy(file.scoreTable[p], game.scoreTable[p], sizeof file.scoreTable[p]);
        std::memcpy(file.lastRest[p], log.lastRest[p], sizeof file.lastRest[p]);
        std::memcpy(file.quaternion[p], log.quaternion[p], sizeof file.quaternion[p]);
        file.holeStrokes[p] = game.players[p].holeStrokes;
    }
    file.hole = log.hole;
    file.startOscillation = log.startOscillation;
    file.events = log.events;
    file.steps = hole_steps(s);
    file.currentPlayer = game.currentPlayer;
    if (s.net.role == NetRole::Joiner) file.seatToken = s.net.seatToken;
    return file;
}

// Starts the record of the hole just loaded (the balls all parked) from the world as it is.
// Live play puts the balls' rotations through ODE once more after noting them, as a resumed
// round does when it sets the noted rotations.
void begin_record(GameSession& s, bool live)
{
    RoundLog& log = s.roundLog;
    const PhysicsWorld& w = s.physics;
    log.recording = true;
    log.hole = s.round.currentHole;
    log.holeStartStep = w.ballSteps;
    log.startOscillation = w.oscillationFrame;
    const WorldSnapshot now = capture_world(w);
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        std::memcpy(log.lastRest[k], now.balls[k].state.lastRest, sizeof log.lastRest[k]);
        std::memcpy(log.quaternion[k], now.balls[k].quaternion, sizeof log.quaternion[k]);
    }
    if (live) renormalise_ball_rotations(s.physics);
    // Nothing of the last hole carries over: no stroke, cup count or move pending.
    PhysicsWorld& world = s.physics;
    reorder_ball_geoms(world);
    cancel_stroke(world);
    const int strikes = world.stroke.strikeCount;
    world.stroke = StrokeState{};
    world.stroke.strikeCount = strikes;
    world.cupContacts = 0;
    world.pendingMoves = PendingMoves{};
    log.events.clear();
    log.lastClicks = 0;
    log.lastStrikeCount = w.stroke.strikeCount;
    log.lastInFlight = false;
    log.haveLastPutt = false;
}

}  // namespace

std::string round_file_path(const GameSession& s) { return user_data_file(s.paths, ROUND_FILE_NAME); }

bool round_file_exists(const GameSession& s) { return file_exists(round_file_path(s)); }

void remove_round_file(GameSession& s) { std::remove(round_file_path(s).c_str()); }

void note_hole_started(GameSession& s)
{
    if (s.round.playerCount <= 0) return;
    if (s.round.goToHoleMode == GoToHoleMode::Moved) {
        // Go To Hole left the game: what is played now is not scored, and not kept either.
        stop_round_log(s);
        remove_round_file(s);
        return;
    }
    s.roundLog.hashedCourse.clear();   // read the course's hash again once per hole
    begin_record(s, true);
    save_round(s);
}

void note_round_finished(GameSession& s)
{
    if (!s.roundLog.recording) return;
    stop_round_log(s);
    remove_round_file(s);
}

void stop_round_log(GameSession& s)
{
    RoundLog& log = s.roundLog;
    log.recording = false;
    log.replaying = false;
    log.haveLastPutt = false;
    log.events.clear();
}

void note_turn_given_up(GameSession& s, RoundEventKind kind)
{
    if (!round_in_play(s) || s.roundLog.replaying) return;
    RoundEvent event;
    event.kind = kind;
    event.step = hole_steps(s);
    event.player = s.round.currentPlayer;
    s.roundLog.events.push_back(event);
}

void round_frame_begins(GameSession& s)
{
    RoundLog& log = s.roundLog;
    if (!round_in_play(s) || log.replaying) return;
    if (s.aim.aimClicks != log.lastClicks && (s.aim.aimClicks == 0 || s.aim.aimClicks == 1)) {
        RoundEvent event;
        event.kind = RoundEventKind::Aim;
        event.step = hole_steps(s);
        event.clicks = s.aim.aimClicks;
        log.events.push_back(event);
        log.lastClicks = s.aim.aimClicks;
    }
    // The putter may strike in this frame: keep where it begins.
    if (s.aim.aimClicks == 1) log.frameStart = capture_round(s);
}

void round_frame_ends(GameSession& s)
{
    RoundLog& log = s.roundLog;
    if (log.replaying) {
        last_putt_replay_ended(s);
        return;
    }
    if (!round_in_play(s)) return;
    const StrokeState& st = s.physics.stroke;
    if (st.strikeCount != log.lastStrikeCount) {
        RoundEvent event;
        event.kind = RoundEventKind::Putt;
        event.step = st.strikeStep - log.holeStartStep;
        event.player = st.strikeSlot + 1;
        event.angle = st.strikeAngle;
        event.power = st.strikePower;
        log.events.push_back(event);
        log.beforeLastPutt = armed_before(log.frameStart, st.strikeStep, st.strikeAngle, st.strikePower);
        log.haveLastPutt = true;
        log.lastStrikeCount = st.strikeCount;
    }
    log.lastClicks = s.aim.aimClicks;
    if (log.lastInFlight && !st.strokeInFlight) save_round(s);
    log.lastInFlight = st.strokeInFlight;
}

bool round_file_text(GameSession& s, std::string& out)
{
    const RoundLog& log = s.roundLog;
    if (!log.recording || s.round.playerCount <= 0 || s.currentFileName.empty()) return false;
    out = format_round_file(round_file_of(s));
    return true;
}

bool save_round(GameSession& s)
{
    RoundLog& log = s.roundLog;
    if (!log.recording || s.round.playerCount <= 0 || s.currentFileName.empty()) return false;
    std::string error;
    if (!write_round_file(round_file_path(s), round_file_of(s), &error)) {
        log.saveError = error;
        return false;
    }
    log.saveError.clear();
    return true;
}

bool restore_round(GameSession& s, const RoundFile& file, std::string* error)
{
    GameState& game = s.round;
    PhysicsWorld& w = s.physics;
    if (file.holeCount != s.course.holeCount || file.hole > s.course.holeCount) {
        if (error) *error = "The round's course has a different number of holes.";
        return false;
    }
    const int players = static_cast<int>(file.seats.size());
    clear_player_names(game);
    game.playerCount = players;
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        Player& player = game.players[p];
        player.holedOut = false;
        player.holeStrokes = 0;
        player.seat = Seat::Person;
        if (p >= players) continue;
        const RoundSeat& seat = file.seats[p];
        set_player_name(player, seat.name.c_str());
        player.ballColour = seat.ballColour;
        set_ball_colour_name(player, BALL_COLOUR_NAMES[seat.ballColour - 1]);
        player.seat = seat.seat;
    }
    game.roundSeed = file.roundSeed;
    game.goToHoleMode = file.mode;
    game.aimGuideUsed = file.aimGuideUsed;
    std::memcpy(game.scoreTable, file.scoreTable, sizeof game.scoreTable);
    // The hole's own scores are written again as its putts are played.
    for (auto& row : game.scoreTable) row[file.hole - 1] = 0;
    game.currentHole = file.hole;
    game.currentPlayer = 1;
    game.holeAdvanceCountdown = 0;
    game.puttRequested = false;
    s.aim = AimInput{};
    init_physics(w);
    cancel_stroke(w);
    if (!start_round_hole(s, file.hole)) {
        if (error) *error = "The round's hole cannot be loaded.";
        return false;
    }

    // The hole's start as it was, then its record played frame by frame with nothing shown.
    w.oscillationFrame = file.startOscillation;
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        std::memcpy(w.balls[k].state.lastRest, file.lastRest[k], sizeof file.lastRest[k]);
        set_ball_rotation(w, k, file.quaternion[k]);
    }
    begin_record(s, false);
    std::memcpy(s.roundLog.quaternion, file.quaternion, sizeof file.quaternion);
    const PhysicsHooks savedHooks = w.hooks;
    w.hooks = PhysicsHooks{};
    const int lastPutt = last_putt_index(file.events);
    size_t next = 0;
    for (;;) {
        const long done = hole_steps(s);
        while (next < file.events.size() && file.events[next].kind != RoundEventKind::Putt && file.events[next].step <= done)
            submit(s, file.events[next++], EventSource::RoundFile);
        bool lastPuttArmed = false;
        if (next < file.events.size() && file.events[next].kind == RoundEventKind::Putt &&
            file.events[next].step <= done + BALL_STEPS_PER_FRAME) {
            lastPuttArmed = static_cast<int>(next) == lastPutt;
            submit(s, file.events[next++], EventSource::RoundFile);
        }
        if (done >= file.steps) break;
        if (lastPuttArmed) {
            s.roundLog.beforeLastPutt = capture_round(s);
            s.roundLog.haveLastPutt = true;
        }
        replay_tick(s);
    }
    w.hooks = savedHooks;

    RoundLog& log = s.roundLog;
    log.events = file.events;
    log.lastClicks = s.aim.aimClicks;
    log.lastStrikeCount = w.stroke.strikeCount;
    log.lastInFlight = w.stroke.strokeInFlight;
    bool same = std::memcmp(game.scoreTable, file.scoreTable, sizeof game.scoreTable) == 0 &&
                game.currentPlayer == file.currentPlayer && next == file.events.size() && !w.stroke.strokeInFlight;
    for (int p = 0; p < MAX_PLAYERS; ++p) same = same && game.players[p].holeStrokes == file.holeStrokes[p];
    if (!same) {
        if (error) {
            char detail[160];
            std::snprintf(detail, sizeof detail, " (turn %d/%d, strokes %d/%d, events %zu/%zu)", game.currentPlayer,
                          file.currentPlayer, game.players[0].holeStrokes, file.holeStrokes[0], next, file.events.size());
            *error = std::string("The saved round does not play back the same on this version of the game.") + detail;
        }
        return false;
    }
    game.ballReady = true;
    // A round kept before the hole's first frame still waits for its first ball to be put on
    // the tee: the next frame does that (and moves the camera there).
    if (s.grid.teeState != TeeState::Waiting) s.grid.teeState = TeeState::JustPlaced;   // the camera goes to the ball on turn
    return true;
}

RoundSnapshot capture_round(const GameSession& s)
{
    RoundSnapshot snapshot;
    snapshot.world = capture_world(s.physics);
    snapshot.round = s.round;
    snapshot.aim = s.aim;
    snapshot.tee = s.grid.tee;
    snapshot.teeState = s.grid.teeState;
    return snapshot;
}

void restore_round_snapshot(GameSession& s, const RoundSnapshot& snapshot)
{
    restore_world(s.physics, snapshot.world);
    s.round = snapshot.round;
    s.aim = snapshot.aim;
    s.grid.tee = snapshot.tee;
    s.grid.teeState = snapshot.teeState;
}

bool begin_last_putt_replay(GameSession& s, std::string* why)
{
    RoundLog& log = s.roundLog;
    const PhysicsWorld& w = s.physics;
    const char* reason = nullptr;
    if (log.replaying) reason = "The last putt is being replayed.";
    else if (!round_in_play(s) || !log.haveLastPutt) reason = "No putt has been played on this hole yet.";
    else if (w.stroke.strokeInFlight || s.aim.aimClicks != 0 || s.aim.aimState == AimPhase::Struck)
        reason = "Wait until the balls have come to rest.";
    if (reason) {
        if (why) *why = reason;
        return false;
    }
    // The round comes back to this, the rotations put through ODE once more as they are set
    // again; the file notes that moment so that a resumed round does the same.
    RoundEvent settle;
    settle.kind = RoundEventKind::Settle;
    settle.step = hole_steps(s);
    log.events.push_back(settle);
    log.afterReplay = capture_round(s);
    restore_round_snapshot(s, log.beforeLastPutt);
    // Nothing can be aimed or struck while it runs: no aiming mode, no Putt button.
    s.aim.aimMode = AimMode::Off;
    s.round.ballReady = false;
    s.round.puttRequested = true;
    s.grid.teeState = TeeState::JustPlaced;
    log.replayStrikeCount = s.physics.stroke.strikeCount;
    log.replayStepLimit = s.physics.ballSteps + PUTT_DEFAULT_MAX_STEPS;
    log.replaying = true;
    return true;
}

bool last_putt_replay_ended(GameSession& s)
{
    RoundLog& log = s.roundLog;
    if (!log.replaying) return false;
    const StrokeState& st = s.physics.stroke;
    const bool rested = st.strikeCount != log.replayStrikeCount && !st.strokeInFlight;
    if (!rested && s.physics.ballSteps < log.replayStepLimit) return false;
    restore_round_snapshot(s, log.afterReplay);
    s.grid.teeState = TeeState::JustPlaced;   // the camera goes back to the ball on turn
    log.replaying = false;
    return true;
}
