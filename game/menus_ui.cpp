// The editor and play menu bars, their Config labels, and the Yes/No message box.
#include <plib/pu.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/hole_dialogs.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "editor/editor_state.h"
#include "game/dialog_state.h"
#include "game/game_actions.h"
#include "game/game_state.h"
#include "game/menus.h"
#include "platform/ui_dialogs.h"

namespace {

// The Config labels are shared by both bars and changed in place.
char soundLabel[20] = "Sound Off";
char windowedLabel[20] = "--------";
char fullScreenLabel[20] = "Full Screen";
char separator[] = "---------";

// --- File ---

void file_new(puObject*)
{
    if (aimInput.aimMode != 0) return;
    dialogState.confirmKind = CONFIRM_NEW_HOLE;
    message_box("Start new hole?");
}

void file_open(puObject*)
{
    if (aimInput.aimMode != 0) return;
    open_hole_dialog();
}

void file_save(puObject*)
{
    if (aimInput.aimMode != 0) return;
    save_hole();
}

void file_save_as(puObject*)
{
    if (aimInput.aimMode != 0) return;
    save_hole_dialog();
}

void file_restart(puObject*)
{
    dialogState.confirmKind = CONFIRM_RESTART;
    message_box("Do you really want to restart the program?");
}

void file_exit(puObject*)
{
    dialogState.confirmKind = CONFIRM_EXIT;
    message_box("Do you really wish to exit the program?");
}

void file_load_course(puObject*) { load_course_from_menu(); }

// --- Edit ---

struct ToolEntry {
    const char* label;
    int tool;
};

const ToolEntry TOOL_ENTRIES[] = {
    {"Blocks", TOOL_BLOCKS},           {"Conveyor Belts", TOOL_CONVEYORS}, {"Oscillating Blocks", TOOL_OSCILLATING_BLOCKS},
    {"Warp Zones", TOOL_WARP_ZONES},   {"Water", TOOL_WATER},              {"Sand", TOOL_SAND},
    {"Bumpers", TOOL_BUMPERS},         {"Railings / Holes", TOOL_RAILINGS}, {"Place Ball", TOOL_PLACE_BALL},
    {"NOTHING", TOOL_NOTHING},
};

void choose_tool(int index)
{
    const ToolEntry& entry = TOOL_ENTRIES[index];
    editorState.currentTool = entry.tool;
    pointerState.swallowClick = 1;
    widgets.toolLabel->setLegend(entry.label);
    if (entry.tool == TOOL_NOTHING) widgets.toolLabel->hide();
    else widgets.toolLabel->reveal();
}

template <int INDEX>
void edit_tool(puObject*)
{
    choose_tool(INDEX);
}

// --- Stats, Special ---

void stats_score_card(puObject*) { open_score_card_dialog(); }
void stats_leader_board(puObject*) { open_leader_board_dialog(); }
void special_pick_up(puObject*) { open_pick_up_dialog(); }
void special_go_to_hole(puObject*) { open_go_to_hole_dialog(); }

// --- Config ---

void config_full_screen(puObject*) { open_resolution_dialog(); }

void config_windowed(puObject*)
{
    if (windowState.fullScreen != 1) return;
    dialogState.confirmKind = CONFIRM_WINDOWED;
    message_box("Really switch to windowed mode?");
}

void config_sound(puObject*)
{
    if (aimInput.aimMode != 0) return;
    switch_sound(windowState.soundOn != 1);
}

// Submenus list their entries bottom to top, ended by an empty entry.
char* fileEditorItems[] = {(char*)"Exit", separator, (char*)"Restart", separator, (char*)"Save As",
                           (char*)"Save", separator, (char*)"Open", (char*)"New", nullptr};
puCallback fileEditorCallbacks[] = {file_exit, nullptr, file_restart, nullptr, file_save_as,
                                    file_save, nullptr, file_open, file_new, nullptr};

char* editItems[] = {(char*)"NOTHING", (char*)"Place Ball", (char*)"Railings / Holes", (char*)"Bumpers",
                     (char*)"Sand", (char*)"Water", (char*)"Warp Zones", (char*)"Oscillating Blocks",
                     (char*)"Conveyor Belts", (char*)"Blocks", nullptr};
puCallback editCallbacks[] = {edit_tool<9>, edit_tool<8>, edit_tool<7>, edit_tool<6>, edit_tool<5>, edit_tool<4>,
                              edit_tool<3>, edit_tool<2>, edit_tool<1>, edit_tool<0>, nullptr};

char* configItems[] = {soundLabel, windowedLabel, fullScreenLabel, nullptr};
puCallback configCallbacks[] = {config_sound, config_windowed, config_full_screen, nullptr};

char* filePlayItems[] = {(char*)"Exit", separator, (char*)"Restart", separator, (char*)"Load Course", nullptr};
puCallback filePlayCallbacks[] = {file_exit, nullptr, file_restart, nullptr, file_load_course, nullptr};

char* statsItems[] = {(char*)"Leader Board", (char*)"Score Card", nullptr};
puCallback statsCallbacks[] = {stats_leader_board, stats_score_card, nullptr};

char* specialItems[] = {(char*)"Go To Hole", (char*)"Pick Up Ball", nullptr};
puCallback specialCallbacks[] = {special_go_to_hole, special_pick_up, nullptr};

// --- The message box ---

void answer_yes()
{
    const int kind = dialogState.confirmKind;
    dialogState.confirmKind = CONFIRM_NONE;
    switch (kind) {
    case CONFIRM_NEW_HOLE: new_hole(); break;
    case CONFIRM_RESTART: restart_program(); break;
    case CONFIRM_EXIT: std::exit(0);
    case CONFIRM_WINDOWED: leave_full_screen_if_needed(); break;
    default: break;
    }
}

}  // namespace

void create_menu_bars()
{
    PermanentWidgets& ui = widgets;
    ui.editorMenuBar = new puMenuBar();
    ui.editorMenuBar->add_submenu("File", fileEditorItems, fileEditorCallbacks);
    ui.editorMenuBar->add_submenu("Edit", editItems, editCallbacks);
    ui.editorMenuBar->add_submenu("Config", configItems, configCallbacks);
    ui.editorMenuBar->close();
    ui.playMenuBar = new puMenuBar();
    ui.playMenuBar->add_submenu("File", filePlayItems, filePlayCallbacks);
    ui.playMenuBar->add_submenu("Stats", statsItems, statsCallbacks);
    ui.playMenuBar->add_submenu("Special", specialItems, specialCallbacks);
    ui.playMenuBar->add_submenu("Config", configItems, configCallbacks);
    ui.playMenuBar->close();
}

void place_menu_bars(int h)
{
    PermanentWidgets& ui = widgets;
    for (puMenuBar* bar : {ui.editorMenuBar, ui.playMenuBar}) {
        if (!bar) continue;
        int width = 0, height = 0;
        bar->getSize(&width, &height);
        bar->setPosition(0, h - height);
    }
}

void set_sound_label(int soundOn) { std::strcpy(soundLabel, soundOn == 1 ? "Sound Off" : "Sound On "); }

void set_windowed_label(int fullScreen) { std::strcpy(windowedLabel, fullScreen == 1 ? "Windowed" : "--------"); }

void message_box(const char* text)
{
    ask_question(text, answer_yes, [] { dialogState.confirmKind = CONFIRM_NONE; });
}
