// The dialogs of the play and Config menus: the full-screen resolution, Pick Up Ball, Go To
// Hole, the score card and the leader board, each centred in the window and deleted by the
// button that closes it. Every button carries the session as its user data.
#include <plib/pu.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "game/ui/game_actions.h"
#include "game/round/round_events.h"
#include "game/round/round_flow.h"
#include "game/round/session.h"
#include "game/ui/ui_local.h"
#include "physics/hole_events.h"
#include "platform/display_switch.h"
#include "platform/ui_step_list.h"

namespace {

constexpr int HALF_WIDTH = 250;
constexpr int SMALL_HALF_HEIGHT = 75;    // questions and choices
constexpr int LARGE_HALF_HEIGHT = 175;   // the score card and the leader board

// The step lists' entries: fixed texts, made once. PUI keeps pointers to them.
struct ListTexts {
    char* resolutionEntries[DISPLAY_MODE_COUNT + 1] = {};
    // "1" to "18", and for each hole count n the list "1" .. "n".
    char holeNumbers[MAX_HOLES][3] = {};
    char* holeLists[MAX_HOLES + 1][MAX_HOLES + 1] = {};

    ListTexts()
    {
        for (int k = 0; k < DISPLAY_MODE_COUNT; ++k) resolutionEntries[k] = const_cast<char*>(DISPLAY_MODES[k].listEntry);
        for (int k = 0; k < MAX_HOLES; ++k) std::snprintf(holeNumbers[k], sizeof holeNumbers[k], "%d", k + 1);
        for (int n = 1; n <= MAX_HOLES; ++n) {
            for (int k = 0; k < n; ++k) holeLists[n][k] = holeNumbers[k];
            holeLists[n][n] = nullptr;
        }
    }
};

const ListTexts& lists()
{
    static const ListTexts texts;
    return texts;
}

// A dialog of 500 x 2b centred in the window, its frame added; widgets follow.
puDialogBox* begin_dialog(GameSession& s, int halfHeight)
{
    const UiSize ui = ui_window(s.window);
    puDialogBox* box = new puDialogBox(ui.width / 2 - HALF_WIDTH, ui.height / 2 - halfHeight);
    new puFrame(0, 0, 2 * HALF_WIDTH, 2 * halfHeight);
    return box;
}

void end_dialog(puDialogBox* box)
{
    box->close();
    box->reveal();
}

void add_text(int x, int y, const char* label)
{
    puText* text = new puText(x, y);
    text->setLabel(label);
}

// The list's current entry; null when the list is empty.
const char* current_entry(StepList* box, char* const* list)
{
    if (!box || box->getNumItems() <= 0) return nullptr;
    const int item = box->getCurrentItem();
    if (item < 0 || item >= box->getNumItems()) return nullptr;
    return list[item];
}

// --- resolution ---

void resolution_ok(puObject* button)
{
    GameSession& s = session_of(button);
    GameDialogs& dialogs = s.gameDialogs;
    const char* entry = current_entry(dialogs.resolutionList, lists().resolutionEntries);
    if (const DisplayMode* chosen = display_mode_for_entry(entry)) {
        if (s.hooks.enter_full_screen) s.hooks.enter_full_screen(s, *chosen);
    }
    if (s.hooks.place_widgets) s.hooks.place_widgets(s);
    delete_dialog(dialogs.resolution);
    dialogs.resolutionList = nullptr;
    s.dialogs.resolutionDialogOpen = false;
    s.dialogs.confirmKind = ConfirmKind::None;
}

void resolution_cancel(puObject* button)
{
    GameSession& s = session_of(button);
    set_windowed_label(s, s.window.fullScreen);
    delete_dialog(s.gameDialogs.resolution);
    s.gameDialogs.resolutionList = nullptr;
    s.dialogs.resolutionDialogOpen = false;
    s.dialogs.confirmKind = ConfirmKind::None;
}

// --- Pick Up Ball ---

void pick_up_yes(puObject* button)
{
    GameSession& s = session_of(button);
    // Only the ball it was opened for: the turn may have passed meanwhile (the ball rolled on,
    // or a network game's time for the turn ran out), and the front door refuses it then.
    submit(s, pick_up_event(s.gameDialogs.pickUpPlayer), EventSource::Person);
    s.dialogs.pickUpDialogOpen = false;
    delete_dialog(s.gameDialogs.pickUp);
}

void pick_up_cancel(puObject* button)
{
    GameSession& s = session_of(button);
    s.dialogs.pickUpDialogOpen = false;
    delete_dialog(s.gameDialogs.pickUp);
}

// --- Go To Hole ---

void go_to_hole_ok(puObject* button)
{
    GameSession& s = session_of(button);
    GameDialogs& dialogs = s.gameDialogs;
    const char* entry = current_entry(dialogs.holeList, lists().holeLists[std::min(s.course.holeCount, MAX_HOLES)]);
    const int n = entry ? static_cast<int>(std::strtol(entry, nullptr, 10)) : 0;
    if (!go_to_hole(s, n)) return;   // names no hole: the dialog stays for another choice
    delete_dialog(dialogs.goToHole);
    dialogs.holeList = nullptr;
    s.dialogs.goToHoleDialogOpen = false;
}

void go_to_hole_cancel(puObject* button)
{
    GameSession& s = session_of(button);
    if (s.round.goToHoleMode == GoToHoleMode::DialogOpen) s.round.goToHoleMode = GoToHoleMode::Scored;
    delete_dialog(s.gameDialogs.goToHole);
    s.gameDialogs.holeList = nullptr;
    s.dialogs.goToHoleDialogOpen = false;
}

// --- the result screens ---

void score_card_ok(puObject* button) { close_score_card_dialog(session_of(button)); }

void leader_board_ok(puObject* button)
{
    GameSession& s = session_of(button);
    s.dialogs.leaderBoardShown = false;
    delete_dialog(s.gameDialogs.leaderBoard);
}

}  // namespace

void open_resolution_dialog(GameSession& s)
{
    GameDialogs& dialogs = s.gameDialogs;
    if (dialogs.resolution) return;
    s.dialogs.confirmKind = ConfirmKind::Resolution;
    s.dialogs.resolutionDialogOpen = true;
    dialogs.resolution = begin_dialog(s, SMALL_HALF_HEIGHT);
    add_text(45, 110, "Select the desired full screen resolution.");
    dialogs.resolutionList = new StepList(100, 50, 400, 80, lists().resolutionEntries);
    add_button(s, 150, 10, 230, 30, "OK", resolution_ok);
    add_button(s, 270, 10, 350, 30, "Cancel", resolution_cancel);
    end_dialog(dialogs.resolution);
}

void open_pick_up_dialog(GameSession& s)
{
    GameDialogs& dialogs = s.gameDialogs;
    if (dialogs.pickUp || refused_in_network_game(s, "Pick Up", net_remote_on_turn(s))) return;
    // nothing to pick up once the course is finished (or before one is loaded)
    if (s.course.holeCount < s.round.currentHole || s.round.playerCount <= 0) return;
    s.dialogs.pickUpDialogOpen = true;
    dialogs.pickUpPlayer = s.round.currentPlayer;
    dialogs.pickUp = begin_dialog(s, SMALL_HALF_HEIGHT);
    add_text(17, 100,
             "    Would you like to pick up your ball?\n\n(This will give you 12 strokes for this hole)");
    add_button(s, 150, 10, 230, 30, "Yes", pick_up_yes);
    add_button(s, 270, 10, 350, 30, "Cancel", pick_up_cancel);
    end_dialog(dialogs.pickUp);
}

void open_go_to_hole_dialog(GameSession& s)
{
    GameDialogs& dialogs = s.gameDialogs;
    if (dialogs.goToHole || refused_in_network_game(s, "Go To Hole", true)) return;
    // a course without holes has nowhere to go
    if (s.course.holeCount < 1 || s.course.holeCount > MAX_HOLES) return;
    if (s.round.goToHoleMode == GoToHoleMode::Scored) s.round.goToHoleMode = GoToHoleMode::DialogOpen;
    s.dialogs.goToHoleDialogOpen = true;
    dialogs.goToHole = begin_dialog(s, SMALL_HALF_HEIGHT);
    add_text(45, 110, "  Select the hole you would like to go to.\n(Going to a hole leaves the current game)");
    dialogs.holeList = new StepList(100, 50, 400, 80, lists().holeLists[s.course.holeCount]);
    add_button(s, 150, 10, 230, 30, "OK", go_to_hole_ok);
    add_button(s, 270, 10, 350, 30, "Cancel", go_to_hole_cancel);
    end_dialog(dialogs.goToHole);
}

void open_score_card_dialog(GameSession& s)
{
    GameDialogs& dialogs = s.gameDialogs;
    s.round.scoreCardShown = true;
    // the round may ask for the card while the player has it open already
    if (dialogs.scoreCard) return;
    dialogs.scoreCard = begin_dialog(s, LARGE_HALF_HEIGHT);
    add_text(18, 185, "No score card available after Go To hole in use.");
    add_button(s, 230, 10, 270, 30, "OK", score_card_ok);
    end_dialog(dialogs.scoreCard);
}

void open_leader_board_dialog(GameSession& s)
{
    GameDialogs& dialogs = s.gameDialogs;
    s.dialogs.leaderBoardShown = true;
    if (dialogs.leaderBoard) return;
    dialogs.leaderBoard = begin_dialog(s, LARGE_HALF_HEIGHT);
    add_button(s, 230, 10, 270, 30, "OK", leader_board_ok);
    end_dialog(dialogs.leaderBoard);
}

void recentre_game_dialogs(GameSession& s, int w, int h)
{
    recentre_start_screen(s, w, h);
    const GameDialogs& dialogs = s.gameDialogs;
    const struct {
        puDialogBox* box;
        int halfHeight;
    } boxes[] = {{dialogs.scoreCard, LARGE_HALF_HEIGHT}, {dialogs.leaderBoard, LARGE_HALF_HEIGHT},
                 {dialogs.pickUp, SMALL_HALF_HEIGHT},    {dialogs.resolution, SMALL_HALF_HEIGHT},
                 {dialogs.goToHole, SMALL_HALF_HEIGHT}};
    for (const auto& entry : boxes) {
        if (entry.box) entry.box->setPosition(w / 2 - HALF_WIDTH, h / 2 - entry.halfHeight);
    }
}

bool score_card_close_hit(const GameSession& s, int px, int py, int h)
{
    const GameDialogs& dialogs = s.gameDialogs;
    if (!dialogs.scoreCard) return false;
    int bx = 0, by = 0;
    dialogs.scoreCard->getPosition(&bx, &by);
    return bx + 230 <= px && px <= bx + 270 && h - by - 30 <= py && py <= h - by - 10;
}

void close_score_card_dialog(GameSession& s)
{
    s.round.scoreCardShown = false;
    delete_dialog(s.gameDialogs.scoreCard);
}

void install_dialog_hooks(GameSession& s)
{
    s.hooks.open_score_card = open_score_card_dialog;
    s.hooks.close_score_card = close_score_card_dialog;
}
