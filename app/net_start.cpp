#include "app/net_start.h"

#include "app/session.h"
#include "game/ui/game_actions.h"
#include "game/net/net_round.h"
#include "platform/fs.h"

void start_net_from_command_line(Session& s, const NetOptions& options)
{
    if (options.mode == NetMode::None) return;
    install_net_hooks(s);
    std::string error;
    bool started = false;
    if (options.mode == NetMode::Host) {
        const std::string path = absolute_path(options.course, current_directory());
        bool loaded = false;
        load_chosen_course(s, false, path, [&loaded] { loaded = true; }, {});
        started = loaded && host_net_game(s, options.port, path, options.players, options.startWhen, &error) &&
                  set_net_turn_limit(s, options.turnLimit);
        if (!loaded) return;   // the course loader has said why
    } else {
        started = join_net_game(s, options.host, options.port, options.players, &error);
    }
    if (!started) {
        s.startMessages.push_back({"The network game cannot begin: " + error, "Network Game"});
        return;
    }
    // The lobby stands in for the start question.
    s.startScreen.skipQuestionTo = StartStep::WaitingForCourse;
}
