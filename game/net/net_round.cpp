// Network play: the lobby, the course's journey and the round in lockstep.
#include "game/net/net_round.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "game/rules/player_setup.h"
#include "game/round/round_events.h"
#include "game/round/round_flow.h"
#include "game/round/round_tick.h"
#include "game/round/session.h"
#include "hole/course_archive.h"
#include "hole/round_file.h"
#include "hole/round_rules.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "platform/fs.h"
#include "platform/test_seam.h"
#include "platform/unpack_dir.h"

namespace {

constexpr int STATUS_NOTE_FRAMES = 300;
constexpr const char* RECEIVED_COURSE_NAME = "network_course.cor";

bool equal_names(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(a[k])) != std::tolower(static_cast<unsigned char>(b[k]))) return false;
    return true;
}

// Said in the log and on stderr. A line said again and again is printed only at the 2nd, 4th,
// 8th... time, with its count, so a flood cannot fill the disk.
void say(NetPlay& net, const std::string& text)
{
    if (text == net.lastMessage && !net.log.empty()) {
        net.repeats += 1;
        if ((net.repeats & (net.repeats + 1)) == 0)
            std::fprintf(stderr, "minigolf: network: %s (%d times)\n", text.c_str(), net.repeats + 1);
        return;
    }
    net.repeats = 0;
    net.lastMessage = text;
    net.log.push_back(text);
    if (net.log.size() > 64) net.log.erase(net.log.begin());
    std::fprintf(stderr, "minigolf: network: %s\n", text.c_str());
}

// Said, and shown in short in place of the status line for a few seconds.
void note(NetPlay& net, const std::string& text, const std::string& brief)
{
    say(net, text);
    net.statusNote = brief.substr(0, 40);
    net.statusNoteFrames = STATUS_NOTE_FRAMES;
}

// Queues a message. A peer whose queue grows past the course and NET_OUTGOING_MAX does not
// read: it is closed here and dropped at the next poll.
void send(NetPeer& peer, NetType type, const std::string& payload)
{
    if (peer.socket.fd < 0) return;
    peer.socket.outgoing += net_frame_bytes(type, payload);
    if (peer.socket.outgoing.size() > peer.outgoingMax) {
        net_close(peer.socket);
        peer.dropReason = "it did not read what was sent to it";
    }
}

// Every seated peer (a connection that has not said hello hears nothing of the game).
void send_all(NetPlay& net, NetType type, const std::string& payload, const NetPeer* except = nullptr)
{
    for (auto& peer : net.peers)
        if (peer.get() != except && (peer->helloed || net.role != NetRole::Host)) send(*peer, type, payload);
}

int machine_of_player(const NetPlay& net, int player)
{
    if (player < 1 || player > static_cast<int>(net.seats.size())) return -1;
    return net.seats[player - 1].machine;
}

bool seat_dropped(const NetPlay& net, int player)
{
    return player >= 1 && player <= static_cast<int>(net.seats.size()) && net.seats[player - 1].dropped;
}

bool name_taken(const NetPlay& net, const std::string& name)
{
    for (const NetSeat& seat : net.seats)
        if (equal_names(seat.name, name)) return true;
    return false;
}

NetLobby lobby_for(const NetPlay& net, int machine)
{
    NetLobby lobby;
    lobby.yourMachine = machine;
    if (machine > 0 && machine < NET_MAX_MACHINES) lobby.yourToken = net.tokens[machine];
    for (const NetSeat& seat : net.seats) lobby.seats.push_back({seat.name, seat.machine});
    lobby.turnSeconds = net.turnSeconds;
    return lobby;
}

void send_lobby(NetPlay& net)
{
    for (auto& peer : net.peers)
        if (peer->helloed) send(*peer, NetType::Lobby, encode_lobby(lobby_for(net, peer->machine)));
}

void lobby_changed(GameSession& s)
{
    if (s.net.hooks.lobby_changed) s.net.hooks.lobby_changed(s);
}

bool in_play(const GameSession& s)
{
    const GameState& game = s.round;
    const RoundLog& log = s.roundLog;
    return s.net.phase == NetPhase::Playing && log.recording && game.playerCount > 0 && game.holeAdvanceCountdown == 0 &&
           game.currentHole == log.hole && game.currentHole <= s.course.holeCount;
}

long hole_steps(const GameSession& s) { return s.physics.ballSteps - s.roundLog.holeStartStep; }

// An event's ball step is not further ahead of this machine's hole clock than a few seconds
// (an event of the next hole counts from its start, which is not yet known here).
bool step_believable(const GameSession& s, const NetPutt& e)
{
    const long ahead = NET_AHEAD_TICKS * BALL_STEPS_PER_FRAME;
    if (e.hole != s.round.currentHole) return e.step <= ahead;
    return e.step <= std::max(0L, hole_steps(s)) + ahead;
}


// Removes a joiner (the host's side): its seats leave the lobby, or are skipped in a round.
void drop_peer(GameSession& s, NetPeer& peer, const std::string& why)
{
    NetPlay& net = s.net;
    if (peer.socket.fd >= 0) {
        send(peer, NetType::Bye, encode_bye(why, true));
        net_flush(peer.socket);
    }
    net_close(peer.socket);
    if (!peer.helloed) {
        // A connection that never joined: nothing of the game is its.
        say(net, "A connection that had not joined was closed (" + why + ").");
        return;
    }
    if (net.phase == NetPhase::Lobby && peer.machine > 0 && peer.machine < NET_MAX_MACHINES)
        net.tokens[peer.machine].clear();
    std::string names;
    for (auto it = net.seats.begin(); it != net.seats.end();) {
        if (it->machine != peer.machine) {
            ++it;
            continue;
        }
        names += (names.empty() ? "" : ", ") + it->name;
        if (net.phase == NetPhase::Lobby) {
            it = net.seats.erase(it);
        } else {
            it->dropped = true;
            it->droppedAt = std::chrono::steady_clock::now();
            ++it;
        }
    }
    // Its events not yet played go with it.
    for (auto it = net.pending.begin(); it != net.pending.end();)
        it = it->origin == peer.machine ? net.pending.erase(it) : it + 1;
    const std::string who = names.empty() ? "A joining computer" : names;
    if (net.phase == NetPhase::Playing && !names.empty())
        note(net, who + " left (" + why + "); their turns are skipped.", who + " left: turns skipped");
    else
        say(net, who + " left (" + why + ").");
    if (net.phase == NetPhase::Lobby) send_lobby(net);
    lobby_changed(s);
}

void end_net_play(GameSession& s, const std::string& message)
{
    NetPlay& net = s.net;
    for (auto& peer : net.peers) net_close(peer->socket);
    net.peers.clear();
    net_close_fd(net.listenFd);
    net.phase = NetPhase::Ended;
    net.pending.clear();
    say(net, message);
    if (net.hooks.ended) net.hooks.ended(s, message);
}

void seat_players(GameSession& s)
{
    GameState& game = s.round;
    clear_player_names(game);
    const NetPlay& net = s.net;
    game.playerCount = static_cast<int>(net.seats.size());
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        Player& player = game.players[k];
        player.seat = Seat::Person;
        player.holedOut = false;
        player.holeStrokes = 0;
        if (k >= game.playerCount) continue;
        set_player_name(player, net.seats[k].name.c_str());
        player.ballColour = k + 1;
        set_ball_colour_name(player, BALL_COLOUR_NAMES[k]);
    }
    for (auto& row : game.scoreTable)
        for (int& score : row) score = 0;
}

void begin_play(GameSession& s)
{
    NetPlay& net = s.net;
    seat_players(s);
    net.phase = NetPhase::Playing;
    net.holeStartStep = -1;
    net.pending.clear();
    net.history.clear();
    if (net.hooks.begin_play)
        net.hooks.begin_play(s);
    else
        begin_round(s);
    // Every machine draws the same dice.
    s.round.roundSeed = net.roundSeed;
    if (net.turnSeconds > 0) {
        const std::string limit = std::to_string(net.turnSeconds) + " seconds";
        note(net, "The round begins; each turn has " + limit + ".", "Each turn has " + limit);
    } else {
        say(net, "The round begins.");
    }
}

// ---- the joiner's side -------------------------------------------------------------------

bool store_received_course(GameSession& s, std::string* why)
{
    NetPlay& net = s.net;
    const std::string dir = run_unpack_dir(s.unpackDir);
    if (dir.empty()) {
        *why = "no private folder for the course";
        return false;
    }
    const std::string path = dir + "/" + (net_course_name_valid(net.courseName) ? net.courseName : RECEIVED_COURSE_NAME);
    const std::string temporary = path + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        *why = "the course cannot be written";
        return false;
    }
    const bool written = std::fwrite(net.courseBytes.data(), 1, net.courseBytes.size(), file) == net.courseBytes.size();
    if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        *why = "the course cannot be written";
        return false;
    }
    net.coursePath = path;
    if (net.hooks.load_course) {
        if (!net.hooks.load_course(s, path)) {
            *why = "the host's course cannot be played";
            return false;
        }
    } else {
        const CourseLoadResult result = load_course(s.course, path, dir);
        if (!result.ok) {
            *why = "the host's course cannot be played: " + result.message;
            return false;
        }
        s.currentFileName = path;
    }
    return true;
}

// A joiner that cannot follow the round asks for the host's state and waits for it.
void want_state(GameSession& s)
{
    NetPlay& net = s.net;
    if (net.awaitingState || net.peers.empty()) return;
    net.awaitingState = true;
    net.pending.clear();
    send(*net.peers.front(), NetType::StateWanted, {});
    note(net, "This computer fell out of the round's time; it takes the host's.", "Catching up with the host");
}

// Handles one message from the host; false (with why) when it is one the host cannot send.
bool joiner_message(GameSession& s, const NetFrame& frame, std::string* why)
{
    NetPlay& net = s.net;
    NetPeer& host = *net.peers.front();
    switch (frame.type) {
    case NetType::Lobby: {
        NetLobby lobby;
        if (!decode_lobby(frame.payload, lobby) || net.phase != NetPhase::Lobby) break;
        net.myMachine = lobby.yourMachine;
        if (!lobby.yourToken.empty()) net.seatToken = lobby.yourToken;
        net.turnSeconds = lobby.turnSeconds;   // to show; the start says what holds
        net.seats.clear();
        for (const NetLobbySeat& seat : lobby.seats) net.seats.push_back({seat.name, seat.machine, false, {}});
        lobby_changed(s);
        return true;
    }
    case NetType::CourseChunk: {
        NetCourseChunk chunk;
        if (!decode_course_chunk(frame.payload, chunk) || net.phase != NetPhase::Lobby || net.courseLoaded) break;
        if (chunk.offset != net.courseBytes.size() || net.courseBytes.size() + chunk.bytes.size() > COURSE_MAX_TOTAL_BYTES)
            break;
        net.courseBytes += chunk.bytes;
        return true;
    }
    case NetType::CourseEnd: {
        NetCourseEnd end;
        if (!decode_course_end(frame.payload, end) || net.phase != NetPhase::Lobby || net.courseLoaded) break;
        net.courseName = end.name;
        if (end.size != net.courseBytes.size() || end.hash != hash_bytes(net.courseBytes)) {
            *why = "the course arrived damaged";
            return false;
        }
        std::string problem;
        if (!store_received_course(s, &problem)) {
            *why = problem;
            return false;
        }
        net.courseHash = end.hash;
        net.courseLoaded = true;
        net.courseBytes.clear();
        net.courseBytes.shrink_to_fit();
        send(host, NetType::CourseReady, {});
        say(net, "The course has arrived.");
        lobby_changed(s);
        return true;
    }
    case NetType::Start: {
        NetStart start;
        if (!decode_start(frame.payload, start) || !net.courseLoaded) break;
        net.turnSeconds = start.turnSeconds;
        if (net.phase == NetPhase::Playing && start.rejoin) {
            // This machine lost the round's time: the host's state follows.
            net.awaitingState = true;
            net.pending.clear();
            return true;
        }
        if (net.phase != NetPhase::Lobby) break;
        net.roundSeed = start.roundSeed;
        begin_play(s);
        net.awaitingState = start.rejoin;
        return true;
    }
    case NetType::RoundState: {
        NetRoundState state;
        RoundFile file;
        std::string problem;
        if (!decode_round_state(frame.payload, state) || net.phase != NetPhase::Playing || !net.awaitingState) break;
        if (!parse_round_file(state.roundFile, file, &problem) || !restore_round(s, file, &problem)) {
            *why = "the round so far cannot be played here: " + problem;
            return false;
        }
        net.awaitingState = false;
        // The hole as restored is the hole in play: its start stays as it is.
        net.holeStartStep = s.roundLog.holeStartStep;
        net.sentEvents = s.roundLog.events.size();
        net.history.clear();
        net.inFlight = false;
        net.rests = state.rests;
        net.pending.clear();
        say(net, "Back in the round.");
        return true;
    }
    case NetType::Putt: {
        NetPutt putt;
        if (!decode_putt(frame.payload, putt) || net.phase != NetPhase::Playing) break;
        if (net.pending.size() >= NET_PENDING_MAX || putt.hole < s.round.currentHole - 1 ||
            putt.hole > s.round.currentHole + 1)
            break;
        if (net.awaitingState) return true;   // the state on its way has it
        if (!step_believable(s, putt)) {
            // Far ahead of this machine (it stood still a while): it takes the host's state
            // rather than playing so far unseen.
            want_state(s);
            return true;
        }
        net.pending.push_back({putt, 0});
        return true;
    }
    case NetType::Resync: {
        NetResync resync;
        if (!decode_resync(frame.payload, resync) || net.phase != NetPhase::Playing) break;
        if (resync.hole != s.round.currentHole || !in_play(s)) return true;   // a hole already left
        net.resync = resync;
        net.resyncWaiting = true;
        return true;
    }
    case NetType::Bye: {
        std::string reason;
        bool sentAway = false;
        decode_bye(frame.payload, reason, &sentAway);
        *why = reason.empty() ? "the host ended the game" : reason;
        net.sentAway = sentAway;
        return false;
    }
    case NetType::Ping:
        if (!frame.payload.empty()) break;
        return true;
    default: break;
    }
    if (why->empty()) *why = "a message the host may not send";
    return false;
}

// ---- the host's side ---------------------------------------------------------------------

void send_course(NetPlay& net, NetPeer& peer)
{
    for (size_t at = 0; at < net.courseBytes.size(); at += NET_COURSE_CHUNK_BYTES) {
        NetCourseChunk chunk;
        chunk.offset = static_cast<uint32_t>(at);
        chunk.bytes = net.courseBytes.substr(at, NET_COURSE_CHUNK_BYTES);
        send(peer, NetType::CourseChunk, encode_course_chunk(chunk));
    }
    send(peer, NetType::CourseEnd, encode_course_end({net.courseBytes.size(), net.courseHash, net.courseName}));
}

void compare_rests(GameSession& s, NetPeer& peer)
{
    NetPlay& net = s.net;
    for (auto it = peer.restHashes.begin(); it != peer.restHashes.end();) {
        const auto own = net.ownRests.find(it->first);
        if (own == net.ownRests.end()) {
            ++it;
            continue;
        }
        const uint64_t ownHash = hash_bytes(encode_resync(own->second));
        peer.answered.push_back(it->first);
        while (peer.answered.size() > 64) peer.answered.pop_front();
        peer.disagreements = ownHash != it->second ? peer.disagreements + 1 : 0;
        if (peer.disagreements >= NET_DISAGREEMENTS_MAX) {
            peer.dropReason = "its balls keep differing from the host's: out of step";
            return;
        }
        if (ownHash != it->second) {
            say(net, "rest " + std::to_string(it->first.second) + " of hole " + std::to_string(it->first.first) +
                         " differs on computer " + std::to_string(peer.machine) + ".");
            send(peer, NetType::Resync, encode_resync(own->second));
            net.repairs += 1;
            if (!net.repairTold) {
                net.repairTold = true;
                note(net, "A joiner's balls differed; it goes on from the host's.", "Balls differed: host's kept");
            }
        }
        it = peer.restHashes.erase(it);
    }
    // Hashes for rests this machine will never see are not kept for ever.
    while (peer.restHashes.size() > 64) peer.restHashes.erase(peer.restHashes.begin());
}

bool same_token(const std::string& a, const std::string& b)
{
    if (a.size() != b.size() || a.empty()) return false;
    unsigned diff = 0;
    for (size_t k = 0; k < a.size(); ++k) diff |= static_cast<unsigned char>(a[k]) ^ static_cast<unsigned char>(b[k]);
    return diff == 0;
}

// A machine says hello to a round under way: with the names of seats whose machine left less
// than NET_REJOIN_SECONDS ago and the secret the host gave those seats, it gets them back; the
// round's state follows once the balls rest. Nothing of the round goes to anyone else.
bool rejoin(GameSession& s, NetPeer& peer, const NetHello& hello, std::string* why)
{
    NetPlay& net = s.net;
    if (hello.token.empty()) {
        *why = "the round has already begun";
        return false;
    }
    const auto now = std::chrono::steady_clock::now();
    int machine = -1;
    size_t seats = 0;
    for (const NetSeat& seat : net.seats) {
        bool named = false;
        for (const std::string& name : hello.names) named = named || equal_names(name, seat.name);
        if (!named) continue;
        if (!seat.dropped || now - seat.droppedAt > std::chrono::seconds(NET_REJOIN_SECONDS) ||
            (machine >= 0 && seat.machine != machine)) {
            *why = "the round has already begun";
            return false;
        }
        machine = seat.machine;
        ++seats;
    }
    size_t machineSeats = 0;
    for (const NetSeat& seat : net.seats) machineSeats += seat.machine == machine;
    if (machine < 0 || seats != hello.names.size() || seats != machineSeats) {
        *why = "the round has already begun";
        return false;
    }
    if (machine <= 0 || machine >= NET_MAX_MACHINES || !same_token(hello.token, net.tokens[machine])) {
        *why = "the seat's secret does not match";
        return false;
    }
    for (const auto& other : net.peers)
        if (other.get() != &peer && other->helloed && other->machine == machine) {
            *why = "those players are still here";
            return false;
        }
    peer.machine = machine;
    peer.ticks = 0;
    peer.helloed = true;
    peer.rejoining = true;
    for (NetSeat& seat : net.seats)
        if (seat.machine == machine) seat.dropped = false;
    send(peer, NetType::Lobby, encode_lobby(lobby_for(net, machine)));
    send_course(net, peer);
    NetStart start;
    start.roundSeed = net.roundSeed;
    start.rejoin = true;
    start.turnSeconds = net.turnSeconds;
    send(peer, NetType::Start, encode_start(start));
    note(net, hello.names.front() + " is back.", hello.names.front() + " is back");
    return true;
}

// The round so far for each machine come back, once every ball rests at a frame's start.
void send_round_states(GameSession& s)
{
    NetPlay& net = s.net;
    bool owed = false;
    for (const auto& peer : net.peers) owed = owed || (peer->rejoining && peer->courseReady);
    const PhysicsWorld& w = s.physics;
    if (!owed || w.stroke.strokeInFlight || w.stroke.swingActive || s.aim.aimState == AimPhase::Struck ||
        s.aim.aimClicks != 0 || !net.pending.empty())
        return;
    NetRoundState state;
    state.rests = net.rests;
    if (!round_file_text(s, state.roundFile)) return;
    if (state.roundFile.size() > static_cast<size_t>(ROUND_FILE_MAX_BYTES)) return;
    for (auto& peer : net.peers) {
        if (!peer->rejoining || !peer->courseReady) continue;
        send(*peer, NetType::RoundState, encode_round_state(state));
        peer->rejoining = false;
    }
}

// The lowest machine number no seat and no joined machine has; -1 when all are taken.
int free_machine(const NetPlay& net)
{
    for (int machine = 1; machine < NET_MAX_MACHINES; ++machine) {
        bool used = false;
        for (const NetSeat& seat : net.seats) used = used || seat.machine == machine;
        for (const auto& peer : net.peers) used = used || (peer->helloed && peer->machine == machine);
        if (!used) return machine;
    }
    return -1;
}

std::string new_token()
{
    std::random_device device;
    static const char digits[] = "0123456789abcdef";
    std::string token;
    while (token.size() < NET_TOKEN_CHARS) {
        const unsigned bits = device();
        for (int k = 0; k < 8 && token.size() < NET_TOKEN_CHARS; ++k) token.push_back(digits[(bits >> (4 * k)) & 15]);
    }
    return token;
}


// The machine takes the host's state: it is told to wait for it, and the state follows once
// the balls rest. False when it keeps losing the round's time (then it is to be dropped).
bool owe_state(NetPlay& net, NetPeer& peer)
{
    if (++peer.strayEvents >= NET_DISAGREEMENTS_MAX) return false;
    if (!peer.rejoining) {
        NetStart start;
        start.roundSeed = net.roundSeed;
        start.rejoin = true;
        start.turnSeconds = net.turnSeconds;
        send(peer, NetType::Start, encode_start(start));
        peer.rejoining = true;
        peer.stateTicks = 0;
        say(net, "Computer " + std::to_string(peer.machine) + " lost the round's time; it takes the host's.");
    }
    return true;
}

bool host_message(GameSession& s, NetPeer& peer, const NetFrame& frame, std::string* why)
{
    NetPlay& net = s.net;
    // Until its hello is taken a connection may say nothing else.
    if (!peer.helloed && frame.type != NetType::Hello && frame.type != NetType::Bye) {
        *why = "a message before its hello";
        return false;
    }
    switch (frame.type) {
    case NetType::Hello: {
        NetHello hello;
        if (!decode_hello(frame.payload, hello) || peer.helloed) break;
        if (hello.version != NET_PROTOCOL_VERSION) {
            *why = "another version of the game";
            return false;
        }
        if (net.phase != NetPhase::Lobby) return rejoin(s, peer, hello, why);
        const int machine = free_machine(net);
        if (machine < 0 || net.seats.size() + hello.names.size() > static_cast<size_t>(MAX_PLAYERS)) {
            *why = "the game is full";
            return false;
        }
        for (size_t k = 0; k < hello.names.size(); ++k) {
            bool twice = name_taken(net, hello.names[k]);
            for (size_t j = 0; j < k; ++j) twice = twice || equal_names(hello.names[j], hello.names[k]);
            if (twice) {
                *why = "the name " + hello.names[k] + " is taken";
                return false;
            }
        }
        peer.machine = machine;
        net.tokens[machine] = new_token();
        for (const std::string& name : hello.names) net.seats.push_back({name, peer.machine, false, {}});
        peer.helloed = true;
        peer.ticks = 0;
        say(net, hello.names.front() + (hello.names.size() > 1 ? " and friends" : "") + " joined.");
        send_lobby(net);
        send_course(net, peer);
        lobby_changed(s);
        return true;
    }
    case NetType::CourseReady:
        if (!frame.payload.empty() || !peer.helloed || peer.courseReady) break;
        peer.courseReady = true;
        lobby_changed(s);
        return true;
    case NetType::Putt: {
        NetPutt putt;
        if (!decode_putt(frame.payload, putt)) break;
        if (net.phase != NetPhase::Playing) {
            *why = "a putt before the round began";
            return false;
        }
        if (machine_of_player(net, putt.player) != peer.machine) {
            *why = "a putt for another computer's player";
            return false;
        }
        if (putt.kind == RoundEventKind::Skip && net.turnSeconds <= 0) {
            *why = "a turn skipped with no time limit";
            return false;
        }
        // Its machine may have begun the next hole already, never one further.
        if (putt.hole < s.round.currentHole || putt.hole > s.round.currentHole + 1 ||
            net.pending.size() >= NET_PENDING_MAX) {
            *why = "a putt out of turn";
            return false;
        }
        if (peer.rejoining) return true;   // it takes the host's state, which this does not change
        if (!step_believable(s, putt)) {
            // Not played: too far ahead to catch up with. Its machine takes the host's time.
            if (owe_state(net, peer)) return true;
            *why = "events too far ahead of the round";
            return false;
        }
        peer.strayEvents = 0;
        net.pending.push_back({putt, peer.machine});
        send_all(net, NetType::Putt, frame.payload, &peer);
        return true;
    }
    case NetType::Rest: {
        NetRest rest;
        if (!decode_rest(frame.payload, rest) || net.phase != NetPhase::Playing) break;
        // Rests of this hole, the one before or the next, and not far past this machine's.
        const int hole = s.round.currentHole;
        if (rest.hole < hole - 1 || rest.hole > hole + 1 || (rest.hole == hole && rest.strike > net.rests + 4) ||
            (rest.hole != hole && rest.strike > ROUND_EVENTS_MAX)) {
            *why = "a rest the round has not had";
            return false;
        }
        // One comparison, and so one repair at most, for each rest.
        const std::pair<int, int> key{rest.hole, rest.strike};
        if (std::find(peer.answered.begin(), peer.answered.end(), key) != peer.answered.end()) return true;
        peer.restHashes[key] = rest.hash;
        compare_rests(s, peer);
        return true;
    }
    case NetType::StateWanted:
        if (!frame.payload.empty() || net.phase != NetPhase::Playing) break;
        if (!peer.rejoining && peer.stateTicks >= NET_STATE_TICKS) {
            peer.rejoining = true;
            peer.stateTicks = 0;
            say(net, "Computer " + std::to_string(peer.machine) + " could not follow the round; it takes the host's.");
        }
        return true;
    case NetType::Bye: {
        std::string reason;
        decode_bye(frame.payload, reason);
        *why = reason.empty() ? "left the game" : reason;
        return false;
    }
    default: break;
    }
    if (why->empty()) *why = "a message a joiner may not send";
    return false;
}

// ---- both sides --------------------------------------------------------------------------

// Reads what a peer sent and hands each whole message on; false (with why) once the peer is
// to go: closed, or a message malformed, oversized or not its to send.
bool poll_peer(GameSession& s, NetPeer& peer, std::string* why)
{
    if (!peer.dropReason.empty()) {
        *why = peer.dropReason;
        return false;
    }
    if (!net_flush(peer.socket)) {
        *why = "the connection failed";
        return false;
    }
    std::string arrived;
    const bool open = net_receive(peer.socket, arrived, NET_RECEIVE_PER_FRAME);
    peer.heard += arrived.size();
    net_feed(peer.reader, arrived.data(), arrived.size());
    for (;;) {
        NetFrame frame;
        std::string problem;
        const NetRead read = net_next_frame(peer.reader, frame, &problem);
        if (read == NetRead::NeedMore) break;
        if (read == NetRead::Bad) {
            *why = problem;
            return false;
        }
        const bool fine = s.net.role == NetRole::Host ? host_message(s, peer, frame, &problem)
                                                      : joiner_message(s, frame, &problem);
        if (!fine) {
            *why = problem.empty() ? "a malformed message" : problem;
            return false;
        }
        if (!peer.dropReason.empty()) {
            *why = peer.dropReason;
            return false;
        }
        if (peer.socket.fd < 0) return false;
    }
    if (!open) {
        *why = "the connection closed";
        return false;
    }
    return net_flush(peer.socket) || (*why = "the connection failed", false);
}

// A joiner that has heard nothing from the host for a while says so, and offers to leave.
void watch_host_silence(GameSession& s, bool heard)
{
    NetPlay& net = s.net;
    if (heard) {
        net.quietTicks = 0;
        if (net.silenceTold) {
            net.silenceTold = false;
            note(net, "The host is heard again.", "The host is heard again");
            if (net.hooks.host_silent) net.hooks.host_silent(s, false);
        }
        return;
    }
    if (++net.quietTicks < NET_SILENCE_TICKS || net.silenceTold) return;
    net.silenceTold = true;
    note(net, "Nothing has been heard from the host for 15 seconds.", "The host is silent");
    if (net.hooks.host_silent) net.hooks.host_silent(s, true);
}

void poll_network(GameSession& s)
{
    NetPlay& net = s.net;
    if (net.role == NetRole::Host) {
        for (int fd = net_accept(net.listenFd); fd >= 0; fd = net_accept(net.listenFd)) {
            // Seats are given by a whole hello; until then a connection only waits, and when
            // too many wait the oldest makes room.
            size_t waiting = 0;
            for (const auto& peer : net.peers) waiting += peer->helloed ? 0 : 1;
            if (waiting >= NET_WAITING_MAX) {
                for (auto it = net.peers.begin(); it != net.peers.end(); ++it) {
                    if ((*it)->helloed) continue;
                    drop_peer(s, **it, "too many computers waiting to join");
                    net.peers.erase(it);
                    break;
                }
            }
            auto peer = std::make_unique<NetPeer>();
            peer->socket.fd = fd;
            peer->outgoingMax = NET_OUTGOING_MAX + net.courseBytes.size();
            net.peers.push_back(std::move(peer));
        }
        for (auto it = net.peers.begin(); it != net.peers.end();) {
            std::string why;
            NetPeer& peer = **it;
            peer.ticks += 1;
            peer.stateTicks = std::min(peer.stateTicks + 1, NET_STATE_TICKS);
            if (!peer.helloed && peer.ticks > NET_HELLO_TICKS) {
                why = "it did not say hello in time";
            } else if (peer.helloed && !peer.courseReady) {
                // The time to read the course counts once all of it has left.
                if (!peer.socket.outgoing.empty()) peer.ticks = 0;
                if (peer.ticks > NET_COURSE_READY_TICKS) why = "it did not read the course in time";
            }
            if (!why.empty() || !poll_peer(s, peer, &why)) {
                drop_peer(s, **it, why);
                it = net.peers.erase(it);
            } else {
                ++it;
            }
        }
    } else if (net.role == NetRole::Joiner && !net.peers.empty()) {
        std::string why;
        const size_t heard = net.peers.front()->heard;
        if (!poll_peer(s, *net.peers.front(), &why)) {
            const bool seated = net.myMachine > 0;
            std::string message;
            if (net.sentAway && !seated)
                message = "The host could not seat this computer: " + why + ".";
            else if (net.sentAway)
                message = "The host sent this computer away: " + why + ".";
            else if (net.phase == NetPhase::Playing)
                message = "The host has left (" + why + "); the round is over.";
            else
                message = "The host has left (" + why + ").";
            end_net_play(s, message);
            return;
        }
        watch_host_silence(s, net.peers.front()->heard != heard);
    }
}

// Who is on the turn's machine: this one (or, on the host, a seat whose machine has left).
bool mine_to_send(const NetPlay& net, int player)
{
    const int machine = machine_of_player(net, player);
    if (machine == net.myMachine) return true;
    return net.role == NetRole::Host && seat_dropped(net, player);
}

void send_event(GameSession& s, const NetPutt& putt)
{
    NetPlay& net = s.net;
    send_all(net, NetType::Putt, encode_putt(putt));
}

void send_local_events(GameSession& s)
{
    NetPlay& net = s.net;
    const std::vector<RoundEvent>& events = s.roundLog.events;
    for (; net.sentEvents < events.size(); ++net.sentEvents) {
        const RoundEvent& e = events[net.sentEvents];
        if (e.kind == RoundEventKind::Settle) continue;
        const int player = e.kind == RoundEventKind::Aim ? s.round.currentPlayer : e.player;
        if (!mine_to_send(net, player)) continue;
        NetPutt putt;
        putt.hole = s.roundLog.hole;   // the hole the record is of: a pick-up that ends it has moved the round on
        putt.kind = e.kind;
        putt.step = e.step;
        putt.player = player;
        putt.clicks = e.clicks;
        putt.stroke = s.round.players[player - 1].holeStrokes;
        putt.angle = e.angle;
        putt.power = e.power;
        send_event(s, putt);
    }
}

NetResync resting_balls(const GameSession& s)
{
    NetResync rest;
    rest.hole = s.round.currentHole;
    rest.strike = s.net.rests;
    rest.step = hole_steps(s);
    const int count = std::max(1, std::min(s.round.playerCount, MAX_PLAYERS));
    for (int k = 0; k < count; ++k) {
        const BallSlot& slot = s.physics.balls[k];
        NetBallRest ball;
        if (slot.body) {
            const BallMotion motion = ball_motion(s.physics, k);
            std::memcpy(ball.position, motion.position, sizeof ball.position);
            std::memcpy(ball.quaternion, motion.quaternion, sizeof ball.quaternion);
            std::memcpy(ball.linear, motion.linear, sizeof ball.linear);
            std::memcpy(ball.angular, motion.angular, sizeof ball.angular);
        }
        std::memcpy(ball.lastRest, slot.state.lastRest, sizeof ball.lastRest);
        std::memcpy(ball.stuckAnchor, slot.state.stuckAnchor, sizeof ball.stuckAnchor);
        ball.stuckSteps = std::min(slot.state.stuckSteps, 100000);
        ball.restSteps = std::min(slot.state.restSteps, 100000);
        ball.atRest = slot.state.atRest;
        ball.holedOut = slot.state.holedOut;
        rest.balls.push_back(ball);
    }
    return rest;
}

void nudge_ball(GameSession& s)
{
    PhysicsWorld& w = s.physics;
    const int slot = w.stroke.strikeSlot;
    if (slot < 0 || slot >= MAX_PLAYERS || !w.balls[slot].body || w.balls[slot].state.holedOut) return;
    const double by[3] = {3.0, 0.0, 0.0};
    shift_ball(w, slot, by);
    say(s.net, "Test switch: this machine's ball was pushed.");
}

// The balls came to rest after a stroke or pick-up: the joiner tells the host its hash; the
// host keeps its own to compare.
void balls_rested(GameSession& s)
{
    NetPlay& net = s.net;
    net.rests += 1;
    if (net.nudgePending) {
        net.nudgePending = false;
        nudge_ball(s);
    }
    const NetResync rest = resting_balls(s);
    if (net.role == NetRole::Host) {
        net.ownRests[{rest.hole, rest.strike}] = rest;
        while (net.ownRests.size() > 64) net.ownRests.erase(net.ownRests.begin());
        for (auto& peer : net.peers) compare_rests(s, *peer);
    } else if (!net.peers.empty()) {
        NetRest message;
        message.hole = rest.hole;
        message.strike = rest.strike;
        message.hash = hash_bytes(encode_resync(rest));
        send(*net.peers.front(), NetType::Rest, encode_rest(message));
    }
}

void keep_frame(GameSession& s)
{
    NetPlay& net = s.net;
    const RoundLog& log = s.roundLog;
    NetFrameMark mark;
    mark.holeStep = hole_steps(s);
    mark.round = capture_round(s);
    mark.events = log.events.size();
    mark.lastClicks = log.lastClicks;
    mark.lastStrikeCount = log.lastStrikeCount;
    mark.lastInFlight = log.lastInFlight;
    mark.inFlight = net.inFlight;
    mark.rests = net.rests;
    mark.spaceOrder = space_order(s.physics);
    net.history.push_back(std::move(mark));
    while (net.history.size() > NET_HISTORY_FRAMES) net.history.pop_front();
}

// Goes back to the kept frame that starts at holeStep; false when it is not kept.
bool go_back_to(GameSession& s, long holeStep)
{
    NetPlay& net = s.net;
    while (!net.history.empty() && net.history.back().holeStep > holeStep) net.history.pop_back();
    if (net.history.empty() || net.history.back().holeStep != holeStep) return false;
    const NetFrameMark& mark = net.history.back();
    // As restore_round_snapshot, but a ball's rotation is set only when it changed since, and
    // then bit for bit: setting one makes ODE normalise it again.
    restore_world(s.physics, mark.round.world, RotationRestore::Exact);
    s.round = mark.round.round;
    s.aim = mark.round.aim;
    s.grid.tee = mark.round.tee;
    s.grid.teeState = mark.round.teeState;
    // Putting the balls back moved their geoms to the front of the space; the order they
    // stood in decides the order of the contacts, so it is put back too.
    restore_space_order(s.physics, mark.spaceOrder);
    RoundLog& log = s.roundLog;
    log.events.resize(std::min(log.events.size(), mark.events));
    log.lastClicks = mark.lastClicks;
    log.lastStrikeCount = mark.lastStrikeCount;
    log.lastInFlight = mark.lastInFlight;
    net.inFlight = mark.inFlight;
    net.rests = mark.rests;
    net.sentEvents = std::min(net.sentEvents, log.events.size());
    net.history.pop_back();
    return true;
}

void watch_rest(GameSession& s)
{
    NetPlay& net = s.net;
    const bool inFlight = s.physics.stroke.strokeInFlight;
    if (net.inFlight && !inFlight) balls_rested(s);
    net.inFlight = inFlight;
}

// One frame played unseen, as the frame driver would play it.
void catch_up_frame(GameSession& s)
{
    PhysicsWorld& w = s.physics;
    keep_frame(s);
    const PhysicsHooks saved = w.hooks;
    w.hooks = PhysicsHooks{};
    round_frame_begins(s);
    replay_tick(s);
    round_frame_ends(s);
    w.hooks = saved;
    watch_rest(s);
    send_local_events(s);
}

void set_balls(GameSession& s, const NetResync& resync)
{
    PhysicsWorld& w = s.physics;
    const int count = std::min(static_cast<int>(resync.balls.size()), s.round.playerCount);
    for (int k = 0; k < count; ++k) {
        const NetBallRest& ball = resync.balls[k];
        BallSlot& slot = w.balls[k];
        if (!slot.body) continue;
        BallMotion motion;
        std::memcpy(motion.position, ball.position, sizeof motion.position);
        std::memcpy(motion.quaternion, ball.quaternion, sizeof motion.quaternion);
        std::memcpy(motion.linear, ball.linear, sizeof motion.linear);
        std::memcpy(motion.angular, ball.angular, sizeof motion.angular);
        set_ball_motion(w, k, motion);
        std::memcpy(slot.state.lastRest, ball.lastRest, sizeof slot.state.lastRest);
        std::memcpy(slot.state.stuckAnchor, ball.stuckAnchor, sizeof slot.state.stuckAnchor);
        slot.state.stuckSteps = ball.stuckSteps;
        slot.state.restSteps = ball.restSteps;
        slot.state.atRest = ball.atRest;
        slot.state.holedOut = ball.holedOut;
    }
}

// A joiner puts the host's balls in at the step the host took them: going back to that
// frame when this machine has passed it, then playing unseen up to where it was.
void apply_waiting_resync(GameSession& s)
{
    NetPlay& net = s.net;
    if (!net.resyncWaiting) return;
    if (net.resync.hole != s.round.currentHole) {
        net.resyncWaiting = false;
        return;
    }
    const long now = hole_steps(s);
    if (now < net.resync.step) return;
    net.resyncWaiting = false;
    const bool back = now > net.resync.step && go_back_to(s, net.resync.step);
    set_balls(s, net.resync);
    for (int k = 0; back && hole_steps(s) < now && k < NET_CATCH_UP_FRAMES; ++k) catch_up_frame(s);
    net.repairs += 1;
    if (!net.repairTold) {
        net.repairTold = true;
        note(net, "Balls differed from the host's; play goes on from the host's.", "Balls differed: host's kept");
    }
}

// Skips the turn of player (1-based) with the event's source, and says so on this machine.
bool skip_turn_of(GameSession& s, const RoundEvent& skip, EventSource from)
{
    const int p = skip.player;
    const bool pickUp = p >= 1 && p <= MAX_PLAYERS && skip_picks_up(s.round, p - 1);
    if (!submit(s, skip, from)) return false;
    const std::string name = s.round.players[p - 1].name;
    if (pickUp)
        note(s.net, name + " ran out of time; the ball is picked up.", name + "'s time ran out: picked up");
    else
        note(s.net, name + " ran out of time; the turn passes.", name + "'s time ran out");
    return true;
}

// A putt is awaited from the player on turn: the hole in play, every ball still, nothing
// struck or armed.
bool turn_waits(const GameSession& s)
{
    const GameState& game = s.round;
    const int p = game.currentPlayer;
    const StrokeState& st = s.physics.stroke;
    if (!in_play(s) || s.roundLog.replaying || !game.ballReady || p < 1 || p > std::min(game.playerCount, MAX_PLAYERS))
        return false;
    if (game.players[p - 1].holedOut || game.players[p - 1].seat != Seat::Person) return false;
    return !st.strokeInFlight && !st.swingActive && st.armedStep == 0 && s.aim.aimState != AimPhase::Struck;
}

// Every machine times every turn, to show what is left; a machine ends only its own players'
// turns. A seat's own machine orders its putt and its skip, so the two never cross on the way.
void time_the_turn(GameSession& s)
{
    NetPlay& net = s.net;
    if (net.turnSeconds <= 0) return;
    NetTurnClock& clock = net.turnClock;
    const int p = s.round.currentPlayer;
    if (clock.hole != s.round.currentHole || clock.holeStart != s.roundLog.holeStartStep || clock.rests != net.rests ||
        clock.player != p)
        clock = {s.round.currentHole, s.roundLog.holeStartStep, net.rests, p, 0};
    if (!turn_waits(s)) return;
    if (clock.ticks < net.turnSeconds * TICKS_PER_SECOND) ++clock.ticks;
    if (clock.ticks < net.turnSeconds * TICKS_PER_SECOND || machine_of_player(net, p) != net.myMachine) return;
    skip_turn_of(s, skip_event(p), EventSource::Person);
}

// The first frame start at or after the moment an event must be applied: before its step for
// aims and pick-ups, in the frame whose ball steps include it for a putt.
long frame_for(const NetPutt& e)
{
    const long f = BALL_STEPS_PER_FRAME;
    const long from = e.kind == RoundEventKind::Putt ? e.step - f : e.step;
    return from <= 0 ? 0 : (from + f - 1) / f * f;
}

// Applies a remote event now; false when the round says it is out of turn.
bool apply_remote(GameSession& s, const NetPending& p)
{
    const NetPutt& e = p.event;
    NetPlay& net = s.net;
    const int onTurn = s.round.currentPlayer;
    // On the host an event is its sender's only for the sender's own players; a joiner hears
    // everything from the host, which relays the others' events and plays for seats whose
    // machine left, but never for this machine's players.
    const bool theirs = net.role == NetRole::Joiner ? machine_of_player(net, onTurn) != net.myMachine
                                                    : machine_of_player(net, onTurn) == p.origin;
    if (!theirs || e.kind == RoundEventKind::Settle) return false;
    RoundEvent event;
    event.kind = e.kind;
    event.step = e.step;
    event.player = e.kind == RoundEventKind::Aim ? onTurn : e.player;
    event.clicks = e.clicks;
    event.angle = static_cast<float>(e.angle);
    event.power = static_cast<float>(e.power);
    if (e.kind == RoundEventKind::Skip) return skip_turn_of(s, event, EventSource::Network);
    return submit(s, event, EventSource::Network);
}

void refuse_origin(GameSession& s, int origin, const std::string& why)
{
    NetPlay& net = s.net;
    if (net.role == NetRole::Host) {
        for (auto it = net.peers.begin(); it != net.peers.end(); ++it) {
            if ((*it)->machine != origin) continue;
            drop_peer(s, **it, why);
            net.peers.erase(it);
            return;
        }
    } else {
        // The host's word is the round's; an event it sends that does not fit is skipped.
        say(net, "An event from the host did not fit the round and was skipped.");
    }
}

void play_pending(GameSession& s)
{
    NetPlay& net = s.net;
    int frames = 0;
    while (!net.pending.empty() && in_play(s)) {
        const NetPending p = net.pending.front();
        if (p.event.hole > s.round.currentHole) return;   // the hole has not begun here yet
        if (p.event.hole < s.round.currentHole) {
            net.pending.pop_front();
            continue;
        }
        const long at = frame_for(p.event);
        if (hole_steps(s) > at) {
            const long now = hole_steps(s);
            if (go_back_to(s, at)) {
                say(net, "went back " + std::to_string(now - at) + " steps for a putt.");
            } else if (net.role == NetRole::Joiner) {
                // Further back than the frames kept (the host stood still a while): this
                // machine takes the host's state, and with it the host's time.
                want_state(s);
                return;
            } else {
                // The sender is too far behind to play with: not played; it takes the host's state.
                net.pending.pop_front();
                for (auto it = net.peers.begin(); it != net.peers.end(); ++it) {
                    if ((*it)->machine != p.origin || !(*it)->helloed) continue;
                    if (!owe_state(net, **it)) {
                        drop_peer(s, **it, "events too far behind the round");
                        net.peers.erase(it);
                    }
                    break;
                }
                continue;
            }
        }
        while (hole_steps(s) < at && frames < NET_CATCH_UP_FRAMES && in_play(s)) {
            catch_up_frame(s);
            ++frames;
        }
        if (!in_play(s) || hole_steps(s) < at) return;   // more next frame
        net.pending.pop_front();
        if (!apply_remote(s, p)) refuse_origin(s, p.origin, "a putt out of turn");
    }
}

// The host plays nothing for a seat whose machine left: it picks the ball up on its turn.
void skip_dropped_turn(GameSession& s)
{
    NetPlay& net = s.net;
    GameState& game = s.round;
    const int p = game.currentPlayer;
    if (net.role != NetRole::Host || !seat_dropped(net, p) || !net.pending.empty()) return;
    const PhysicsWorld& w = s.physics;
    // An aim its machine began before it left is given up with the ball.
    if (!game.ballReady || w.stroke.strokeInFlight || w.stroke.swingActive || w.stroke.armedStep != 0) return;
    if (game.players[p - 1].holedOut || ball_is_parked(w, p - 1) || !w.balls[p - 1].state.atRest) return;
    submit(s, pick_up_event(p), EventSource::Network);
}

void lockstep_frame(GameSession& s)
{
    NetPlay& net = s.net;
    if (net.awaitingState) return;
    // The stroke that ends a hole rests after the hole is done: it is compared too. The event
    // that ended it (a pick-up, a putt dropping) is sent before anything moves on.
    if (!in_play(s)) {
        if (s.roundLog.recording && net.holeStartStep == s.roundLog.holeStartStep) {
            send_local_events(s);
            watch_rest(s);
        }
        return;
    }
    if (net.holeStartStep != s.roundLog.holeStartStep) {
        // A new hole: the same start on every machine, whenever each began it.
        net.holeStartStep = s.roundLog.holeStartStep;
        s.physics.oscillationFrame = 1;
        s.roundLog.startOscillation = 1;
        net.sentEvents = s.roundLog.events.size();
        net.history.clear();
        net.inFlight = false;
        net.rests = 0;
        net.resyncWaiting = false;
    }
    watch_rest(s);
    time_the_turn(s);
    send_local_events(s);
    play_pending(s);
    if (!in_play(s)) return;
    if (net.role == NetRole::Joiner) apply_waiting_resync(s);
    if (net.role == NetRole::Host) send_round_states(s);
    skip_dropped_turn(s);
    keep_frame(s);
}

std::string read_whole_file(const std::string& path, std::string* error)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        *error = "cannot read " + path;
        return {};
    }
    std::string bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, n);
        if (bytes.size() > COURSE_MAX_TOTAL_BYTES) {
            *error = "the course file is too large";
            std::fclose(file);
            return {};
        }
    }
    std::fclose(file);
    return bytes;
}

bool check_names(const std::vector<std::string>& names, std::string* error)
{
    if (names.empty() || names.size() > static_cast<size_t>(MAX_PLAYERS)) {
        *error = "one to four players";
        return false;
    }
    for (size_t k = 0; k < names.size(); ++k) {
        if (!net_name_valid(names[k])) {
            *error = "the name '" + names[k] + "' cannot be used";
            return false;
        }
        for (size_t j = 0; j < k; ++j)
            if (equal_names(names[j], names[k])) {
                *error = "the name " + names[k] + " is given twice";
                return false;
            }
    }
    return true;
}

void reset_net(NetPlay& net)
{
    const NetHooks hooks = net.hooks;
    puDialogBox* const silenceBox = net.silenceBox;   // the window's to take down
    for (auto& peer : net.peers) net_close(peer->socket);
    net_close_fd(net.listenFd);
    net = NetPlay{};
    net.hooks = hooks;
    net.silenceBox = silenceBox;
    net.nudgePending = test_seam().netNudgeBall;
}

}  // namespace

bool host_net_game(GameSession& s, int port, const std::string& coursePath, const std::vector<std::string>& names,
                   int startWhen, std::string* error)
{
    NetPlay& net = s.net;
    std::string problem;
    if (!check_names(names, &problem)) {
        if (error) *error = problem;
        return false;
    }
    const std::string bytes = read_whole_file(coursePath, &problem);
    if (bytes.empty()) {
        if (error) *error = problem.empty() ? "the course file is empty" : problem;
        return false;
    }
    reset_net(net);
    net.listenFd = net_listen(port, &problem);
    if (net.listenFd < 0) {
        if (error) *error = problem;
        return false;
    }
    net.port = net_local_port(net.listenFd);
    net.role = NetRole::Host;
    net.phase = NetPhase::Lobby;
    net.myMachine = 0;
    net.startWhen = startWhen;
    net.localNames = names;
    net.courseBytes = bytes;
    net.courseHash = hash_bytes(bytes);
    net.courseName = base_name(coursePath);
    if (!net_course_name_valid(net.courseName)) net.courseName = RECEIVED_COURSE_NAME;
    net.courseLoaded = true;
    for (const std::string& name : names) net.seats.push_back({name, 0, false, {}});
    say(net, "Hosting on port " + std::to_string(net.port) + ".");
    lobby_changed(s);
    return true;
}

bool join_net_game(GameSession& s, const std::string& host, int port, const std::vector<std::string>& names,
                   std::string* error)
{
    NetPlay& net = s.net;
    std::string problem;
    if (!check_names(names, &problem)) {
        if (error) *error = problem;
        return false;
    }
    reset_net(net);
    auto peer = std::make_unique<NetPeer>();
    if (!net_connect(peer->socket, host, port, &problem)) {
        if (error) *error = problem;
        return false;
    }
    NetHello hello;
    hello.names = names;
    // A machine that played here before shows the secret its seats were given, kept with its round.
    RoundFile saved;
    if (read_round_file(round_file_path(s), saved, &problem)) {
        hello.token = saved.seatToken;
        net.seatToken = saved.seatToken;
    }
    send(*peer, NetType::Hello, encode_hello(hello));
    net.peers.push_back(std::move(peer));
    net.role = NetRole::Joiner;
    net.phase = NetPhase::Lobby;
    net.joinedHost = host;
    net.port = port;
    net.localNames = names;
    net.myMachine = -1;   // until the host says
    say(net, "Joining " + host + ":" + std::to_string(port) + ".");
    lobby_changed(s);
    return true;
}

bool net_can_start(const GameSession& s)
{
    const NetPlay& net = s.net;
    if (net.role != NetRole::Host || net.phase != NetPhase::Lobby || net.seats.empty()) return false;
    // A connection still saying hello holds nothing up: it has no seat yet.
    for (const auto& peer : net.peers)
        if (peer->helloed && !peer->courseReady) return false;
    return true;
}

bool set_net_turn_limit(GameSession& s, int seconds)
{
    NetPlay& net = s.net;
    if (net.role != NetRole::Host || net.phase != NetPhase::Lobby || !net_turn_seconds_valid(seconds)) return false;
    if (net.turnSeconds == seconds) return true;
    net.turnSeconds = seconds;
    send_lobby(net);
    lobby_changed(s);
    return true;
}

bool start_net_round(GameSession& s, std::string* why)
{
    NetPlay& net = s.net;
    if (!net_can_start(s)) {
        if (why) *why = "Wait until every joiner has the course.";
        return false;
    }
    std::random_device device;
    net.roundSeed = (static_cast<uint64_t>(device()) << 32) ^ device();
    NetStart start;
    start.roundSeed = net.roundSeed;
    start.turnSeconds = net.turnSeconds;
    send_all(net, NetType::Start, encode_start(start));
    // The host keeps listening through the round for machines that come back.
    begin_play(s);
    for (auto& peer : net.peers) net_flush(peer->socket);
    return true;
}

void step_net_play(GameSession& s)
{
    NetPlay& net = s.net;
    if (net.phase == NetPhase::Ended && !net.endMessage.empty() && s.dialogs.startScreenStep == StartStep::QuestionShown) {
        if (s.hooks.show_message) s.hooks.show_message(s, net.endMessage.c_str(), "Network Game");
        net.endMessage.clear();
    }
    if (net.role == NetRole::None || net.phase == NetPhase::Ended) return;
    if (net.statusNoteFrames > 0 && --net.statusNoteFrames == 0) net.statusNote.clear();
    poll_network(s);
    if (net.phase == NetPhase::Lobby && net.role == NetRole::Host && net.startWhen > 0 &&
        static_cast<int>(net.seats.size()) >= net.startWhen && net_can_start(s))
        start_net_round(s, nullptr);
    if (net.phase == NetPhase::Playing) lockstep_frame(s);
    if (net.role == NetRole::Host) {
        // The host lets its joiners know it is there, whether or not it has anything to say.
        if (++net.quietTicks >= NET_PING_TICKS) {
            send_all(net, NetType::Ping, {});
            net.quietTicks = 0;
        }
    }
    for (auto& peer : net.peers) net_flush(peer->socket);
}

bool net_remote_on_turn(const GameSession& s)
{
    const NetPlay& net = s.net;
    if (net.phase != NetPhase::Playing) return false;
    if (net.awaitingState) return true;
    const int machine = machine_of_player(net, s.round.currentPlayer);
    return machine >= 0 && machine != net.myMachine;
}

bool net_player_is_local(const NetPlay& net, int player)
{
    return net.phase != NetPhase::Playing || machine_of_player(net, player) == net.myMachine;
}

void net_status_note(const GameSession& s, char* text, size_t size)
{
    const NetPlay& net = s.net;
    if (size == 0) return;
    const int left = net_turn_seconds_left(s);
    if (left >= 0 && left * TICKS_PER_SECOND <= NET_TURN_WARNING_TICKS) {
        const int p = s.round.currentPlayer;
        std::snprintf(text, size, "%s: %d s left to putt", s.round.players[p - 1].name, left);
        return;
    }
    if (net.statusNote.empty()) return;
    std::snprintf(text, size, "%s", net.statusNote.c_str());
}

int net_turn_seconds_left(const GameSession& s)
{
    const NetPlay& net = s.net;
    const NetTurnClock& clock = net.turnClock;
    if (net.phase != NetPhase::Playing || net.turnSeconds <= 0 || !turn_waits(s)) return -1;
    if (clock.player != s.round.currentPlayer || clock.rests != net.rests || clock.holeStart != s.roundLog.holeStartStep)
        return net.turnSeconds;
    const int ticksLeft = std::max(0, net.turnSeconds * TICKS_PER_SECOND - clock.ticks);
    return (ticksLeft + TICKS_PER_SECOND - 1) / TICKS_PER_SECOND;
}

void leave_net_game(GameSession& s, const std::string& reason)
{
    NetPlay& net = s.net;
    for (auto& peer : net.peers) {
        send(*peer, NetType::Bye, encode_bye(reason));
        net_flush(peer->socket);
    }
    reset_net(net);
}

uint64_t net_ball_hash(const GameSession& s) { return hash_bytes(encode_resync(resting_balls(s))); }
