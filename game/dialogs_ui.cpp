// The dialogs of the play and Config menus: the full-screen resolution, Pick Up Ball, Go To
// Hole, the score card and the leader board, each centred in the window and deleted by the
// button that closes it; plus the frame step that draws the two result screens over theirs.
#include <plib/puAux.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "app/display_modes.h"
#include "app/frame_steps.h"
#include "app/input.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "game/dialog_state.h"
#include "game/dialogs_ui.h"
#include "game/game_actions.h"
#include "game/game_state.h"
#include "game/menus.h"
#include "game/round_flow.h"
#include "game/start_screen.h"
#include "hole/course.h"
#include "physics/hole_events.h"
#include "render/score_card_gl.h"

namespace {

constexpr int HALF_WIDTH = 250;
constexpr int SMALL_HALF_HEIGHT = 75;    // questions and choices
constexpr int LARGE_HALF_HEIGHT = 175;   // the score card and the leader board

struct GameDialogs {
    puDialogBox* resolution = nullptr;
    puaSelectBox* resolutionList = nullptr;
    puDialogBox* pickUp = nullptr;
    puDialogBox* goToHole = nullptr;
    puaSelectBox* holeList = nullptr;
    puDialogBox* scoreCard = nullptr;
    puDialogBox* leaderBoard = nullptr;
};

GameDialogs dialogs;

char* resolutionEntries[DISPLAY_MODE_COUNT + 1] = {};

// "1" to "18", and for each hole count n the list "1" .. "n".
char holeNumbers[MAX_HOLES][3] = {};
char* holeLists[MAX_HOLES + 1][MAX_HOLES + 1] = {};

void fill_lists()
{
    if (resolutionEntries[0]) return;
    for (int k = 0; k < DISPLAY_MODE_COUNT; ++k) resolutionEntries[k] = const_cast<char*>(DISPLAY_MODES[k].listEntry);
    for (int k = 0; k < MAX_HOLES; ++k) std::snprintf(holeNumbers[k], sizeof holeNumbers[k], "%d", k + 1);
    for (int n = 1; n <= MAX_HOLES; ++n) {
        for (int k = 0; k < n; ++k) holeLists[n][k] = holeNumbers[k];
        holeLists[n][n] = nullptr;
    }
}

// A dialog of 500 x 2b centred in the window, its frame added; widgets follow.
puDialogBox* begin_dialog(int halfHeight)
{
    const WindowState& window = windowState;
    puDialogBox* box = new puDialogBox(window.windowWidth / 2 - HALF_WIDTH, window.windowHeight / 2 - halfHeight);
    new puFrame(0, 0, 2 * HALF_WIDTH, 2 * halfHeight);
    return box;
}

void end_dialog(puDialogBox* box)
{
    box->close();
    box->reveal();
}

void delete_dialog(puDialogBox*& box)
{
    if (box) puDeleteObject(box);
    box = nullptr;
}

puOneShot* add_button(int x0, int y0, int x1, int y1, const char* legend, puCallback callback)
{
    puOneShot* button = new puOneShot(x0, y0, x1, y1);
    button->setLegend(legend);
    button->setCallback(callback);
    return button;
}

void add_text(int x, int y, const char* label)
{
    puText* text = new puText(x, y);
    text->setLabel(label);
}

// The select box's current entry; null when the list is empty.
const char* current_entry(puaSelectBox* box, char* const* list)
{
    if (!box || box->getNumItems() <= 0) return nullptr;
    const int item = box->getCurrentItem();
    if (item < 0 || item >= box->getNumItems()) return nullptr;
    return list[item];
}

// --- resolution ---

void resolution_ok(puObject*)
{
    const char* entry = current_entry(dialogs.resolutionList, resolutionEntries);
    if (const DisplayMode* chosen = display_mode_for_entry(entry)) enter_full_screen(*chosen);
    place_permanent_widgets();
    delete_dialog(dialogs.resolution);
    dialogs.resolutionList = nullptr;
    dialogState.resolutionDialogOpen = 0;
    dialogState.confirmKind = CONFIRM_NONE;
}

void resolution_cancel(puObject*)
{
    set_windowed_label(windowState.fullScreen);
    delete_dialog(dialogs.resolution);
    dialogs.resolutionList = nullptr;
    dialogState.resolutionDialogOpen = 0;
    dialogState.confirmKind = CONFIRM_NONE;
}

// --- Pick Up Ball ---

void pick_up_yes(puObject*)
{
    pick_up_ball();
    dialogState.pickUpDialogOpen = 0;
    delete_dialog(dialogs.pickUp);
}

void pick_up_cancel(puObject*)
{
    dialogState.pickUpDialogOpen = 0;
    delete_dialog(dialogs.pickUp);
}

// --- Go To Hole ---

void go_to_hole_ok(puObject*)
{
    const char* entry = current_entry(dialogs.holeList, holeLists[std::min(course.holeCount, MAX_HOLES)]);
    const int n = entry ? static_cast<int>(std::strtol(entry, nullptr, 10)) : 0;
    if (!go_to_hole(n)) return;   // names no hole: the dialog stays for another choice
    delete_dialog(dialogs.goToHole);
    dialogs.holeList = nullptr;
    dialogState.goToHoleDialogOpen = 0;
}

void go_to_hole_cancel(puObject*)
{
    if (gameState.goToHoleMode == 1) gameState.goToHoleMode = 0;
    delete_dialog(dialogs.goToHole);
    dialogs.holeList = nullptr;
    dialogState.goToHoleDialogOpen = 0;
}

// --- the result screens ---

void score_card_ok(puObject*)
{
    gameState.scoreCardShown = 0;
    delete_dialog(dialogs.scoreCard);
}

void leader_board_ok(puObject*)
{
    dialogState.leaderBoardShown = 0;
    delete_dialog(dialogs.leaderBoard);
}

}  // namespace

void open_resolution_dialog()
{
    if (dialogs.resolution) return;
    fill_lists();
    dialogState.confirmKind = CONFIRM_RESOLUTION;
    dialogState.resolutionDialogOpen = 1;
    dialogs.resolution = begin_dialog(SMALL_HALF_HEIGHT);
    add_text(45, 110, "Select the desired full screen resolution.");
    dialogs.resolutionList = new puaSelectBox(100, 50, 400, 80, resolutionEntries);
    add_button(150, 10, 230, 30, "OK", resolution_ok);
    add_button(270, 10, 350, 30, "Cancel", resolution_cancel);
    end_dialog(dialogs.resolution);
}

void open_pick_up_dialog()
{
    if (dialogs.pickUp) return;
    // nothing to pick up once the course is finished (or before one is loaded)
    if (course.holeCount < gameState.currentHole || gameState.playerCount <= 0) return;
    dialogState.pickUpDialogOpen = 1;
    dialogs.pickUp = begin_dialog(SMALL_HALF_HEIGHT);
    add_text(17, 100,
             "    Would you like to pick up your ball?\n\n(This will give you 12 strokes for this hole)");
    add_button(150, 10, 230, 30, "Yes", pick_up_yes);
    add_button(270, 10, 350, 30, "Cancel", pick_up_cancel);
    end_dialog(dialogs.pickUp);
}

void open_go_to_hole_dialog()
{
    if (dialogs.goToHole) return;
    // a course without holes has nowhere to go
    if (course.holeCount < 1 || course.holeCount > MAX_HOLES) return;
    fill_lists();
    if (gameState.goToHoleMode == 0) gameState.goToHoleMode = 1;
    dialogState.goToHoleDialogOpen = 1;
    dialogs.goToHole = begin_dialog(SMALL_HALF_HEIGHT);
    add_text(45, 110, "  Select the hole you would like to go to.\n(Going to a hole leaves the current game)");
    dialogs.holeList = new puaSelectBox(100, 50, 400, 80, holeLists[course.holeCount]);
    add_button(150, 10, 230, 30, "OK", go_to_hole_ok);
    add_button(270, 10, 350, 30, "Cancel", go_to_hole_cancel);
    end_dialog(dialogs.goToHole);
}

void open_score_card_dialog()
{
    gameState.scoreCardShown = 1;
    // the round may ask for the card while the player has it open already
    if (dialogs.scoreCard) return;
    dialogs.scoreCard = begin_dialog(LARGE_HALF_HEIGHT);
    add_text(18, 185, "No score card available after Go To hole in use.");
    add_button(230, 10, 270, 30, "OK", score_card_ok);
    end_dialog(dialogs.scoreCard);
}

void open_leader_board_dialog()
{
    dialogState.leaderBoardShown = 1;
    if (dialogs.leaderBoard) return;
    dialogs.leaderBoard = begin_dialog(LARGE_HALF_HEIGHT);
    add_button(230, 10, 270, 30, "OK", leader_board_ok);
    end_dialog(dialogs.leaderBoard);
}

void recentre_game_dialogs(int w, int h)
{
    recentre_start_screen(w, h);
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

bool score_card_close_hit(int px, int py, int h)
{
    if (!dialogs.scoreCard) return false;
    int bx = 0, by = 0;
    dialogs.scoreCard->getPosition(&bx, &by);
    return bx + 230 <= px && px <= bx + 270 && h - by - 30 <= py && py <= h - by - 10;
}

void draw_overlay_screens()
{
    const WindowState& window = windowState;
    if (gameState.scoreCardShown == 1 && gameState.goToHoleMode != 2)
        draw_score_card(window.windowWidth, window.windowHeight);
    if (dialogState.leaderBoardShown == 1) draw_leader_board(window.windowWidth, window.windowHeight);
}

void install_dialog_hooks() { roundHooks.open_score_card = open_score_card_dialog; }
