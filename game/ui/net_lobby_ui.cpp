// The network game's lobby window: where to join, who has joined, and the host's "Start".
#include <plib/pu.h>

#include <string>
#include <vector>

#include "game/ui/game_actions.h"
#include "game/net/net_round.h"
#include "game/round/session.h"
#include "game/ui/ui_local.h"
#include "platform/ui_dialogs.h"
#include "platform/ui_text_field.h"

namespace {

constexpr int LOBBY_WIDTH = 420;
constexpr int LOBBY_HEIGHT = 300;

void delete_lobby(GameSession& s) { delete_dialog(s.net.lobbyBox); }


void start_pressed(puObject* button)
{
    GameSession& s = session_of(button);
    std::string why;
    if (!start_net_round(s, &why)) show_message(why, "Network Game");
}

// Each press takes the next of the offered limits: none, 30 s, 60 s, 2 minutes, none...
void turn_limit_pressed(puObject* button)
{
    GameSession& s = session_of(button);
    int next = 0;
    for (int seconds : NET_TURN_LIMIT_CHOICES) {
        if (seconds > s.net.turnSeconds) {
            next = seconds;
            break;
        }
    }
    set_net_turn_limit(s, next);   // the lobby is drawn again with it
}

void leave_pressed(puObject* button)
{
    GameSession& s = session_of(button);
    delete_lobby(s);
    leave_net_game(s, "left the lobby");
    s.dialogs.startScreenStep = StartStep::BuildQuestion;
}

void build_lobby_lines(GameSession& s)
{
    const NetPlay& net = s.net;
    std::vector<std::string>& lines = s.net.lobbyLines;
    lines.clear();
    if (net.role == NetRole::Host) {
        std::string where;
        for (const std::string& address : local_addresses()) where += (where.empty() ? "" : " or ") + address;
        lines.push_back("Give your friends: " + where);
        lines.push_back("Port " + std::to_string(net.port));
    } else {
        lines.push_back("Joined " + net.joinedHost + " port " + std::to_string(net.port));
        lines.push_back(net.courseLoaded ? "The course has arrived." : "The course is on its way...");
        if (net.turnSeconds > 0) lines.push_back("Each turn has " + std::to_string(net.turnSeconds) + " seconds.");
    }
    int k = 1;
    for (const NetSeat& seat : net.seats) {
        std::string line = std::to_string(k++) + ". " + seat.name;
        if (seat.machine == net.myMachine) line += "  (this computer)";
        else if (seat.machine == 0) line += "  (host)";
        if (net.role == NetRole::Host && seat.machine != 0) {
            for (const auto& peer : net.peers)
                if (peer->machine == seat.machine && !peer->courseReady) line += "  getting the course";
        }
        lines.push_back(line);
    }
    if (net.seats.empty()) lines.push_back("Waiting for the host...");
}

void lobby_changed(GameSession& s)
{
    NetPlay& net = s.net;
    if (net.phase != NetPhase::Lobby) return;
    delete_lobby(s);
    build_lobby_lines(s);
    const UiSize ui = ui_window(s.window);   // the widgets' units
    const int w = ui.width, h = ui.height;
    net.lobbyBox = new puDialogBox(w / 2 - LOBBY_WIDTH / 2, h / 2 - LOBBY_HEIGHT / 2);
    new puFrame(0, 0, LOBBY_WIDTH, LOBBY_HEIGHT);
    puText* title = new puText(15, LOBBY_HEIGHT - 30);
    title->setLabel(net.role == NetRole::Host ? "Network Game: Hosting" : "Network Game: Joining");
    int y = LOBBY_HEIGHT - 58;
    for (const std::string& line : net.lobbyLines) {
        puText* text = new puText(20, y);
        text->setLabel(line.c_str());
        y -= 22;
    }
    if (net.role == NetRole::Host) {
        net.turnLimitLegend = "Turn Limit: " + (net.turnSeconds > 0 ? std::to_string(net.turnSeconds) + " s" : "Off");
        add_button(s, LOBBY_WIDTH / 2 - 160, 55, LOBBY_WIDTH / 2 + 160, 83, net.turnLimitLegend.c_str(), turn_limit_pressed);
        puOneShot* start = add_button(s, LOBBY_WIDTH / 2 - 160, 15, LOBBY_WIDTH / 2 - 10, 45, "Start", start_pressed);
        if (!net_can_start(s)) start->greyOut();
    }
    add_button(s, LOBBY_WIDTH / 2 + 10, 15, LOBBY_WIDTH / 2 + 160, 45, "Leave", leave_pressed);
    net.lobbyBox->close();
    net.lobbyBox->reveal();
}

void begin_play(GameSession& s)
{
    delete_lobby(s);
    start_round(s);
    s.dialogs.startScreenStep = StartStep::None;
}

bool load_course_hook(GameSession& s, const std::string& path)
{
    bool loaded = false;
    load_chosen_course(s, false, path, [&loaded] { loaded = true; }, {});
    return loaded;
}

void ended(GameSession& s, const std::string& message)
{
    delete_lobby(s);
    delete_dialog(s.net.silenceBox);
    // Back at the start question; the message is shown over it once it stands (step_net_play).
    // A game joined from the command line skips the question only until it has been let in.
    s.startScreen.skipQuestionTo = StartStep::None;
    s.net.endMessage = message;
    if (s.round.playerCount > 0)
        restart_program(s);
    else
        s.dialogs.startScreenStep = StartStep::BuildQuestion;
}

void silence_leave_pressed(puObject* button)
{
    GameSession& s = session_of(button);
    delete_dialog(s.net.silenceBox);
    leave_net_game(s, "the host was silent");
    delete_lobby(s);
    if (s.round.playerCount > 0)
        restart_program(s);
    else
        s.dialogs.startScreenStep = StartStep::BuildQuestion;
}

void silence_wait_pressed(puObject* button) { delete_dialog(session_of(button).net.silenceBox); }

void host_silent(GameSession& s, bool silent)
{
    NetPlay& net = s.net;
    delete_dialog(net.silenceBox);
    if (!silent) return;
    constexpr int width = 420, height = 110;
    const int w = s.window.windowWidth, h = s.window.windowHeight;
    net.silenceBox = new puDialogBox(w / 2 - width / 2, h / 2 - height / 2);
    new puFrame(0, 0, width, height);
    puText* text = new puText(15, height - 35);
    text->setLabel("Nothing has been heard from the host for 15 seconds.");
    add_button(s, width / 2 - 160, 15, width / 2 - 10, 45, "Leave", silence_leave_pressed);
    add_button(s, width / 2 + 10, 15, width / 2 + 160, 45, "Wait", silence_wait_pressed);
    net.silenceBox->close();
    net.silenceBox->reveal();
}

}  // namespace

void install_net_hooks(GameSession& s)
{
    s.net.hooks.host_silent = host_silent;
    s.net.hooks.lobby_changed = lobby_changed;
    s.net.hooks.begin_play = begin_play;
    s.net.hooks.load_course = load_course_hook;
    s.net.hooks.ended = ended;
}

void recentre_net_lobby(GameSession& s, int w, int h)
{
    if (s.net.silenceBox) s.net.silenceBox->setPosition(w / 2 - 210, h / 2 - 55);
    if (s.net.lobbyBox) s.net.lobbyBox->setPosition(w / 2 - LOBBY_WIDTH / 2, h / 2 - LOBBY_HEIGHT / 2);
    if (s.net.joinBox) s.net.joinBox->setPosition(w / 2 - 200, h / 2 - 85);
}

// --- Host Game and Join Game on the start screen ---------------------------------------------

namespace {

constexpr int JOIN_WIDTH = 400;
constexpr int JOIN_HEIGHT = 170;

void join_cancelled(puObject* button)
{
    GameSession& s = session_of(button);
    delete_dialog(s.net.joinBox);
    s.net.chosenRole = NetRole::None;
    s.dialogs.startScreenStep = StartStep::BuildQuestion;
}

void join_confirmed(puObject* button)
{
    GameSession& s = session_of(button);
    NetPlay& net = s.net;
    const std::string address = net.joinAddress->getStringValue();
    const std::string port = net.joinPort->getStringValue();
    std::string host;
    int number = 0;
    if (!parse_host_port(address + ":" + port, host, number)) {
        show_message("Type the host's address and a port from 1 to 65535.", "Join Game");
        return;
    }
    delete_dialog(net.joinBox);
    net.chosenHost = host;
    net.chosenPort = number;
    s.dialogs.startScreenStep = StartStep::BuildPlayers;
}

std::vector<std::string> named_players(const GameSession& s)
{
    std::vector<std::string> names;
    for (int k = 0; k < s.round.playerCount && k < MAX_PLAYERS; ++k) names.push_back(s.round.players[k].name);
    return names;
}

void back_to_question(GameSession& s, const std::string& message)
{
    if (!message.empty()) show_message(message, "Network Game");
    s.net.chosenRole = NetRole::None;
    s.round.playerCount = 0;
    for (Player& player : s.round.players) player.name[0] = '\0';
    s.dialogs.startScreenStep = StartStep::BuildQuestion;
}

}  // namespace

void host_game_chosen(puObject* button)
{
    GameSession& s = session_of(button);
    delete_dialog(s.startScreen.question);
    install_net_hooks(s);
    s.net.chosenRole = NetRole::Host;
    s.dialogs.startScreenStep = StartStep::BuildPlayers;
}

void join_game_chosen(puObject* button)
{
    GameSession& s = session_of(button);
    delete_dialog(s.startScreen.question);
    install_net_hooks(s);
    NetPlay& net = s.net;
    net.chosenRole = NetRole::Joiner;
    const UiSize ui = ui_window(s.window);   // the widgets' units
    const int w = ui.width, h = ui.height;
    net.joinBox = new puDialogBox(w / 2 - JOIN_WIDTH / 2, h / 2 - JOIN_HEIGHT / 2);
    new puFrame(0, 0, JOIN_WIDTH, JOIN_HEIGHT);
    puText* title = new puText(15, JOIN_HEIGHT - 30);
    title->setLabel("Join Game: the host's address and port");
    net.joinAddress = new puInput(110, 90, 380, 115);
    net.joinAddress->setValidData("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ.-");
    puText* addressLabel = new puText(15, 93);
    addressLabel->setLabel("Address");
    net.joinPort = new puInput(110, 55, 200, 80);
    net.joinPort->setValidData("0123456789");
    puText* portLabel = new puText(15, 58);
    portLabel->setLabel("Port");
    set_text_field(net.joinPort, std::to_string(NET_DEFAULT_PORT).c_str());
    add_button(s, JOIN_WIDTH / 2 - 160, 12, JOIN_WIDTH / 2 - 10, 42, "Join", join_confirmed);
    add_button(s, JOIN_WIDTH / 2 + 10, 12, JOIN_WIDTH / 2 + 160, 42, "Cancel", join_cancelled);
    net.joinBox->close();
    net.joinBox->reveal();
    s.dialogs.startScreenStep = StartStep::WaitingForCourse;
}

bool net_game_chosen(const GameSession& s) { return s.net.chosenRole != NetRole::None; }

bool join_chosen_game(GameSession& s)
{
    NetPlay& net = s.net;
    if (net.chosenRole != NetRole::Joiner) return false;
    std::string error;
    const std::vector<std::string> names = named_players(s);
    const std::string host = net.chosenHost;
    const int port = net.chosenPort;
    net.chosenRole = NetRole::None;
    s.dialogs.startScreenStep = StartStep::WaitingForCourse;
    if (!join_net_game(s, host, port, names, &error)) back_to_question(s, "The game cannot be joined: " + error);
    return true;
}

void host_chosen_game(GameSession& s)
{
    NetPlay& net = s.net;
    net.chosenRole = NetRole::None;
    const std::vector<std::string> names = named_players(s);
    std::string error;
    s.dialogs.startScreenStep = StartStep::WaitingForCourse;
    // The usual port, or any the system gives when another program has it.
    if (host_net_game(s, NET_DEFAULT_PORT, s.currentFileName, names, 0, &error)) return;
    if (host_net_game(s, 0, s.currentFileName, names, 0, &error)) return;
    back_to_question(s, "The game cannot be hosted: " + error);
}

bool refused_in_network_game(GameSession& s, const char* what, bool refuse)
{
    if (!refuse || s.net.phase != NetPhase::Playing) return false;
    show_message(std::string(what) + " is not offered in a network game.", what);
    return true;
}
