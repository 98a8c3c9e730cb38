// The round file on screen: "Resume Round" and --resume, and the Stats menu's Replay Last
// Putt with the widgets it hides while it runs.
#include <plib/pu.h>

#include <cstdio>
#include <string>

#include "game/ui/game_actions.h"
#include "game/round/round_log.h"
#include "game/round/session.h"
#include "platform/ui_dialogs.h"

namespace {

void show_replay_widgets(GameSession& s, bool show)
{
    PermanentWidgets& ui = s.widgets;
    RoundLog& log = s.roundLog;
    if (!show) {
        log.menuWasShown = ui.playMenuBar && ui.playMenuBar->isVisible();
        log.menuButtonWasShown = ui.hideMenuButton && ui.hideMenuButton->isVisible();
        if (log.menuWasShown) ui.playMenuBar->hide();
        if (log.menuButtonWasShown) ui.hideMenuButton->hide();
        if (ui.puttButton && ui.puttButton->isVisible()) ui.puttButton->hide();
        return;
    }
    if (log.menuWasShown) ui.playMenuBar->reveal();
    if (log.menuButtonWasShown) ui.hideMenuButton->reveal();
}

}  // namespace

bool resume_saved_round(GameSession& s)
{
    RoundFile file;
    std::string error;
    if (!read_round_file(round_file_path(s), file, &error) || !round_course_unchanged(file, &error)) {
        show_message("The saved round cannot be resumed.\n" + error, "Resume Round");
        return false;
    }
    bool loaded = false;
    load_chosen_course(s, false, file.coursePath, [&loaded] { loaded = true; }, {});
    if (!loaded) return false;   // the course loader has said why
    start_round(s);
    if (!restore_round(s, file, &error)) {
        show_message("The saved round cannot be resumed.\n" + error, "Resume Round");
        restart_program(s);
        return false;
    }
    s.dialogs.startScreenStep = StartStep::None;
    return true;
}

void replay_last_putt(GameSession& s)
{
    if (refused_in_network_game(s, "Replay Last Putt", true)) return;
    std::string why;
    if (!begin_last_putt_replay(s, &why)) {
        show_message(why, "Replay Last Putt");
        return;
    }
    show_replay_widgets(s, false);
}

void round_file_tick_ends(GameSession& s, bool replayEnded)
{
    if (replayEnded) show_replay_widgets(s, true);
    RoundLog& log = s.roundLog;
    if (!log.saveError.empty() && !log.saveErrorTold) {
        std::fprintf(stderr, "minigolf: the round cannot be saved: %s\n", log.saveError.c_str());
        log.saveErrorTold = true;
    }
    if (log.saveError.empty()) log.saveErrorTold = false;
}
