// Network play: one machine hosts, up to three join, up to four players in all. The host
// sends the course archive to each joiner; then only the putts travel. Every machine plays
// every putt through its own physics at the putt's exact ball step (catching up or going
// back a few frames as needed), and once the balls rest each joiner sends the host a hash of
// them; a joiner whose hash differs gets the host's resting balls. Polled once a frame from
// the frame loop; nothing here waits. No window code: what needs the screen goes through
// NetPlay's hooks.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/net/net_message.h"
#include "game/round/round_log.h"
#include "platform/net_socket.h"

struct GameSession;
class puDialogBox;
class puInput;

// The port a game hosted from the start screen listens on (another when it is taken).
constexpr int NET_DEFAULT_PORT = 5120;

enum class NetRole { None = 0, Host = 1, Joiner = 2 };
enum class NetPhase {
    Off = 0,       // no network play
    Lobby = 1,     // players join; the course travels
    Playing = 2,   // the round runs in lockstep
    Ended = 3,     // the host left or this machine was sent away
};

// How long a joiner's bytes may wait unread before the host stops reading them for a frame.
constexpr size_t NET_RECEIVE_PER_FRAME = 256 * 1024;
// Remote events waiting to be played, at most; more is a flood.
constexpr size_t NET_PENDING_MAX = 4096;
// Frames kept to go back to when a putt arrives for a moment this machine has passed.
constexpr size_t NET_HISTORY_FRAMES = 600;
// How long the seats of a machine that left wait for it to come back.
constexpr int NET_REJOIN_SECONDS = 120;
// Frames played unseen in one frame while catching up with a putt.
constexpr int NET_CATCH_UP_FRAMES = 900;
// Ticks a new connection has to finish its hello before it is closed.
constexpr int NET_HELLO_TICKS = 5 * 60;
// Ticks a joined machine has to read the course once all of it has left the host.
constexpr int NET_COURSE_READY_TICKS = 30 * 60;
// Connections that have not said hello yet, at most; the oldest goes for a newer one.
constexpr size_t NET_WAITING_MAX = 4;
// Bytes queued for a peer beyond the course itself; a peer that does not read past this goes.
constexpr size_t NET_OUTGOING_MAX = 1 << 20;
// Rests in a row on which a joiner's balls differ from the host's before it is dropped.
constexpr int NET_DISAGREEMENTS_MAX = 3;
// How far ahead of this machine's hole clock an event may be, in ticks. One further is not
// played: its machine takes the host's state (and time), and one that keeps sending such goes.
constexpr long NET_AHEAD_TICKS = 5 * 60;
// How long a joiner waits hearing nothing from the host before saying so, in ticks; the host
// pings every NET_PING_TICKS.
constexpr int NET_SILENCE_TICKS = 15 * 60;
constexpr int NET_PING_TICKS = 2 * 60;
// A machine is given the round's state at most this often when it asks.
constexpr int NET_STATE_TICKS = 5 * 60;
// The per-turn time limits the lobby offers, in seconds (0: none), and the last stretch of a
// timed turn that the status line counts down.
constexpr int NET_TURN_LIMIT_CHOICES[] = {0, 30, 60, 120};
constexpr int NET_TURN_WARNING_TICKS = 10 * 60;

// A joined machine as the host sees it, or the host as a joiner sees it.
struct NetPeer {
    NetSocket socket;
    NetFrameReader reader;
    int machine = -1;           // 1..3 for joiners once seated; 0 the host; -1 not seated yet
    bool helloed = false;       // its players are known
    int ticks = 0;              // ticks since it connected (or since its course left, until ready)
    int disagreements = 0;      // rests in a row on which its balls differed
    size_t outgoingMax = NET_OUTGOING_MAX;   // bytes its queue may hold (the host: with the course)
    std::string dropReason;                  // why it is to go at the next look (it stopped reading, ...)
    size_t heard = 0;                        // bytes received from it so far
    std::deque<std::pair<int, int>> answered;   // (hole, rest) already compared, newest last
    bool courseReady = false;   // it has read the course
    bool rejoining = false;     // it came back to a round under way, or lost its way: the round's state is owed
    int stateTicks = NET_STATE_TICKS;   // ticks since the round's state was last owed to it
    int strayEvents = 0;        // its events in a row that could not be placed in the round's time
    std::map<std::pair<int, int>, uint64_t> restHashes;   // (hole, rest) → its hash, not yet compared
};

struct NetSeat {
    std::string name;
    int machine = 0;          // whose players these are
    bool dropped = false;     // its machine left: the seat's turns are skipped
    std::chrono::steady_clock::time_point droppedAt;   // when
};

// The turn being timed: whose, on which hole after how many rests, and how long its putt has
// been awaited. Any change of the first four starts a new turn.
struct NetTurnClock {
    int hole = 0;
    long holeStart = -1;
    int rests = -1;
    int player = 0;
    int ticks = 0;
};

// A remote event waiting for its ball step, with the machine it came from.
struct NetPending {
    NetPutt event;
    int origin = 0;
};

// One frame's start kept for going back.
struct NetFrameMark {
    long holeStep = 0;
    RoundSnapshot round;
    size_t events = 0;        // roundLog.events then
    int lastClicks = 0;
    int lastStrikeCount = 0;
    bool lastInFlight = false;
    bool inFlight = false;
    int rests = 0;
    std::vector<const void*> spaceOrder;   // the world space's geoms in their order (it orders the contacts)
};

// What network play needs of the screen. Null hooks fall back to headless behaviour.
struct NetHooks {
    // The lobby changed (players joined or left, the course arrived): redraw it.
    void (*lobby_changed)(GameSession& s) = nullptr;
    // The round begins with the players of round.players already set: show the play screen
    // and begin the round (headless: begin_round).
    void (*begin_play)(GameSession& s) = nullptr;
    // A joiner's received course at path is to be loaded as the course of the round; false
    // when it is refused (headless: load_course into the run's unpack folder).
    bool (*load_course)(GameSession& s, const std::string& path) = nullptr;
    // Network play ended with a message to show (the host left, this machine was refused).
    void (*ended)(GameSession& s, const std::string& message) = nullptr;
    // A joiner has heard nothing from the host for a while (silent), or hears it again: offer
    // to leave, or take the offer back.
    void (*host_silent)(GameSession& s, bool silent) = nullptr;
};

struct NetPlay {
    NetRole role = NetRole::None;
    NetPhase phase = NetPhase::Off;
    NetHooks hooks;
    int listenFd = -1;                            // the host's listening socket while hosting
    int port = 0;                                 // the port it listens on (or joined)
    std::string joinedHost;                       // the address a joiner joined
    int myMachine = 0;                            // 0 the host
    int startWhen = 0;                            // the host starts by itself with this many players
    std::vector<std::string> localNames;          // this machine's players
    std::vector<NetSeat> seats;                   // every player, in playing order
    std::vector<std::unique_ptr<NetPeer>> peers;  // the host: its joiners; a joiner: the host
    std::string tokens[NET_MAX_MACHINES];         // the host: each joined machine's seat secret
    std::string seatToken;                        // a joiner: its own seat secret
    int quietTicks = 0;                           // ticks since the host's last ping (host) or since it was heard (joiner)
    bool silenceTold = false;                     // a joiner: the host's silence was said
    bool sentAway = false;                        // a joiner: the host's farewell turned it away
    std::string courseBytes;                      // the archive (host: sent; joiner: as it arrives)
    uint64_t courseHash = 0;
    std::string courseName;                       // the course file's own name, as the host has it
    std::string coursePath;                       // the joiner's copy in its private folder
    bool courseLoaded = false;
    uint64_t roundSeed = 0;
    int turnSeconds = 0;                          // each turn's time limit, chosen by the host; 0 none
    NetTurnClock turnClock;
    // The lockstep.
    long holeStartStep = -1;                      // the hole in play's start, to notice a new hole
    size_t sentEvents = 0;                        // roundLog.events already sent or remote
    std::deque<NetPending> pending;
    std::deque<NetFrameMark> history;
    bool inFlight = false;                        // a stroke was rolling at the last look
    int rests = 0;                                // strokes and pick-ups come to rest on the hole
    std::map<std::pair<int, int>, NetResync> ownRests;   // the host's rests, for comparing
    bool awaitingState = false;                   // a joiner come back: the round's state is on its way
    bool resyncWaiting = false;                   // a joiner: the host's balls wait for their step
    NetResync resync;                             // them
    bool nudgePending = false;                    // the test switch: push this machine's ball once
    bool repairTold = false;
    int repairs = 0;                              // resyncs applied (joiner) or sent (host)
    std::string statusNote;                       // shown in place of the status line for a while
    int statusNoteFrames = 0;
    std::string lastMessage;                      // the last thing said (tests read it)
    std::string endMessage;                       // why network play ended, still to be shown
    std::vector<std::string> log;                 // what happened, one line each (tests read it)
    int repeats = 0;                              // times the last line was said again unprinted
    puDialogBox* lobbyBox = nullptr;              // the lobby window while it shows
    puDialogBox* silenceBox = nullptr;            // "Nothing has been heard from the host..." while it shows
    NetRole chosenRole = NetRole::None;           // "Host Game" or "Join Game" on the start screen
    std::string chosenHost;                       // the address and port typed for Join Game
    int chosenPort = 0;
    puDialogBox* joinBox = nullptr;               // the Join Game dialog while it shows
    puInput* joinAddress = nullptr;
    puInput* joinPort = nullptr;
    std::vector<std::string> lobbyLines;          // its lines (the window keeps pointers to them)
    std::string turnLimitLegend;                  // the host's "Turn Limit: ..." button
};

// Starts hosting: listens on port (0: any), reads the course archive at coursePath and seats
// the local players. False with why in error.
bool host_net_game(GameSession& s, int port, const std::string& coursePath, const std::vector<std::string>& names,
                   int startWhen, std::string* error);
// Starts joining host:port with the local players. False with why in error.
bool join_net_game(GameSession& s, const std::string& host, int port, const std::vector<std::string>& names,
                   std::string* error);
// The host's Start: the round begins on every machine. False (with why) while a joiner's
// course is still on its way, or with no players.
bool start_net_round(GameSession& s, std::string* why);
// True when the host may start now.
bool net_can_start(const GameSession& s);
// The host's time limit on every turn, in seconds (0: none), set in the lobby before the start.
// When it runs out the turn passes with one stroke counted. False when it cannot be set now.
bool set_net_turn_limit(GameSession& s, int seconds);

// Once a frame, before the round's frame begins: messages in and out, the remote putts
// played at their ball steps, the local ones sent, the rest hashes compared.
void step_net_play(GameSession& s);

// True while the player on turn plays on another machine (the local mouse must not putt).
bool net_remote_on_turn(const GameSession& s);
// True when player (1-based) is played at this machine: always outside a network round.
bool net_player_is_local(const NetPlay& net, int player);
// The network's note, while there is one, in place of the status line (a few seconds), or the
// last seconds of a timed turn.
void net_status_note(const GameSession& s, char* text, size_t size);
// Whole seconds left to the player on turn before the turn passes, or -1 when the turn is
// not being timed (no limit, or no putt awaited).
int net_turn_seconds_left(const GameSession& s);
// Leaves network play: a farewell to the peers, sockets closed.
void leave_net_game(GameSession& s, const std::string& reason);

// The hash of every ball's position and state in play.
uint64_t net_ball_hash(const GameSession& s);
