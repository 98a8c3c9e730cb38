// The network game's lobby window: where to join, who has joined, and the host's "Start".
#include <plib/pu.h>

#include <string>

#include "game/game_actions.h"
#include "game/net_round.h"
#include "game/session.h"
#include "game/ui_local.h"
#include "platform/ui_dialogs.h"

namespace {

constexpr int LOBBY_WIDTH = 420;
constexpr int LOBBY_HEIGHT = 260;

void delete_lobby(GameSession& s) { delete_dialog(s.net.lobbyBox); }

void start_pressed(puObject* button)
{
    GameSession& s = session_of(button);
    std::string why;
    if (!start_net_round(s, &why)) show_message(why, "Network Game");
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
    const int w = s.window.windowWidth, h = s.window.windowHeight;
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
    show_message(message, "Network Game");
    if (s.round.playerCount > 0)
        restart_program(s);
    else
        s.dialogs.startScreenStep = StartStep::BuildQuestion;
}

}  // namespace

void install_net_hooks(GameSession& s)
{
    s.net.hooks.lobby_changed = lobby_changed;
    s.net.hooks.begin_play = begin_play;
    s.net.hooks.load_course = load_course_hook;
    s.net.hooks.ended = ended;
}

void recentre_net_lobby(GameSession& s, int w, int h)
{
    if (s.net.lobbyBox) s.net.lobbyBox->setPosition(w / 2 - LOBBY_WIDTH / 2, h / 2 - LOBBY_HEIGHT / 2);
}
