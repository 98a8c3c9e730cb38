// The editor and play menu bars, their Config labels, and the Yes/No message box. The Edit
// menu chooses the editor's tools, so the menus live here, where the editor and the game meet.
#include <plib/pu.h>

#include <cstdlib>

#include "app/editor_commands.h"
#include "app/hole_dialogs.h"
#include "app/shell.h"
#include "game/ui/game_actions.h"
#include "platform/ui_dialogs.h"

namespace {

char fullScreenLabel[] = "Full Screen";
char separator[] = "---------";

// Every menu entry carries the session as its user data.
Session& session_of(puObject* item) { return *static_cast<Session*>(item->getUserData()); }

bool aiming(const Session& s) { return s.aim.aimMode != AimMode::Off; }

// --- File ---

void file_new(puObject* item) { file_command(session_of(item), FileCommand::New); }
void file_open(puObject* item) { file_command(session_of(item), FileCommand::Open); }
void file_save(puObject* item) { file_command(session_of(item), FileCommand::Save); }
void file_save_as(puObject* item) { file_command(session_of(item), FileCommand::SaveAs); }
void file_try_hole(puObject* item) { begin_try_hole(session_of(item)); }
void file_make_course(puObject* item) { open_make_course_dialog(session_of(item)); }

void file_restart(puObject* item)
{
    Session& s = session_of(item);
    guard_unsaved_changes(
        s,
        [&s] {
            restart_program(s);
            editor_hole_opened(s);
        },
        [&s] {
            s.dialogs.confirmKind = ConfirmKind::Restart;
            message_box(s, "Do you really want to restart the program?");
        });
}

void file_exit(puObject* item) { ask_exit(session_of(item)); }

void file_load_course(puObject* item) { load_course_from_menu(session_of(item)); }

// --- Edit ---

struct ToolEntry {
    const char* label;
    EditorTool tool;
};

const ToolEntry TOOL_ENTRIES[] = {
    {"Blocks", EditorTool::Blocks},
    {"Conveyor Belts", EditorTool::Conveyors},
    {"Oscillating Blocks", EditorTool::OscillatingBlocks},
    {"Warp Zones", EditorTool::WarpZones},
    {"Water", EditorTool::Water},
    {"Sand", EditorTool::Sand},
    {"Bumpers", EditorTool::Bumpers},
    {"Railings / Holes", EditorTool::Railings},
    {"Place Ball", EditorTool::PlaceBall},
    {"NOTHING", EditorTool::Nothing},
};

template <int INDEX>
void edit_tool(puObject* item)
{
    choose_tool(session_of(item), TOOL_ENTRIES[INDEX].tool, TOOL_ENTRIES[INDEX].label);
}

void edit_undo(puObject* item) { editor_undo(session_of(item)); }
void edit_redo(puObject* item) { editor_redo(session_of(item)); }

// --- Stats, Special ---

void stats_score_card(puObject* item) { open_score_card_dialog(session_of(item)); }
void stats_leader_board(puObject* item) { open_leader_board_dialog(session_of(item)); }
void stats_replay_last_putt(puObject* item) { replay_last_putt(session_of(item)); }
void special_pick_up(puObject* item) { open_pick_up_dialog(session_of(item)); }
void special_go_to_hole(puObject* item) { open_go_to_hole_dialog(session_of(item)); }

// --- Config ---

void config_full_screen(puObject* item) { open_resolution_dialog(session_of(item)); }

void config_windowed(puObject* item)
{
    Session& s = session_of(item);
    if (!s.window.fullScreen) return;
    s.dialogs.confirmKind = ConfirmKind::Windowed;
    message_box(s, "Really switch to windowed mode?");
}

void config_sound(puObject* item)
{
    Session& s = session_of(item);
    if (aiming(s)) return;
    switch_sound(s, !s.window.soundOn);
}

void config_aim_guide(puObject* item)
{
    Session& s = session_of(item);
    s.window.aimGuideOn = !s.window.aimGuideOn;
    set_aim_guide_label(s, s.window.aimGuideOn);
    store_settings(s);
}

void config_ui_scale(puObject* item)
{
    Session& s = session_of(item);
    s.window.uiScale = next_ui_scale(s.window.uiScale);
    set_ui_scale_label(s, s.window.uiScale);
    store_settings(s);
    apply_ui_scale(s);
}

// Submenus list their entries bottom to top, ended by an empty entry.
// Each entry shows its key.
char* fileEditorItems[] = {(char*)"Exit", separator, (char*)"Restart", separator, (char*)"Make Course...",
                           (char*)"Try Hole   Ctrl+T", separator, (char*)"Save As   Ctrl+Shift+S",
                           (char*)"Save   Ctrl+S", separator, (char*)"Open   Ctrl+O", (char*)"New   Ctrl+N", nullptr};
puCallback fileEditorCallbacks[] = {file_exit, nullptr, file_restart, nullptr, file_make_course, file_try_hole,
                                    nullptr, file_save_as, file_save, nullptr, file_open, file_new, nullptr};

char* editItems[] = {(char*)"NOTHING   0", (char*)"Place Ball   9", (char*)"Railings / Holes   8",
                     (char*)"Bumpers   7", (char*)"Sand   6", (char*)"Water   5", (char*)"Warp Zones   4",
                     (char*)"Oscillating Blocks   3", (char*)"Conveyor Belts   2", (char*)"Blocks   1", separator,
                     (char*)"Redo   Ctrl+Y", (char*)"Undo   Ctrl+Z", nullptr};
puCallback editCallbacks[] = {edit_tool<9>, edit_tool<8>, edit_tool<7>, edit_tool<6>, edit_tool<5>,
                              edit_tool<4>, edit_tool<3>, edit_tool<2>, edit_tool<1>, edit_tool<0>,
                              nullptr,      edit_redo,    edit_undo,    nullptr};

puCallback configCallbacks[] = {config_ui_scale,      config_aim_guide,   config_sound,
                                config_windowed,      config_full_screen, nullptr};

char* filePlayItems[] = {(char*)"Exit", separator, (char*)"Restart", separator, (char*)"Load Course", nullptr};
puCallback filePlayCallbacks[] = {file_exit, nullptr, file_restart, nullptr, file_load_course, nullptr};

char* statsItems[] = {(char*)"Replay Last Putt", (char*)"Leader Board", (char*)"Score Card", nullptr};
puCallback statsCallbacks[] = {stats_replay_last_putt, stats_leader_board, stats_score_card, nullptr};

char* specialItems[] = {(char*)"Go To Hole", (char*)"Pick Up Ball", nullptr};
puCallback specialCallbacks[] = {special_go_to_hole, special_pick_up, nullptr};

// --- The message box ---

void answer_yes(Session& s)
{
    const ConfirmKind kind = s.dialogs.confirmKind;
    s.dialogs.confirmKind = ConfirmKind::None;
    switch (kind) {
    case ConfirmKind::NewHole: new_hole(s); break;
    case ConfirmKind::Restart:
        restart_program(s);
        editor_hole_opened(s);
        break;
    case ConfirmKind::Exit: std::exit(0);
    case ConfirmKind::Windowed: leave_full_screen_if_needed(s); break;
    default: break;
    }
}

// Adds a submenu whose entries all carry the session.
void add_submenu(Session& s, puMenuBar* bar, const char* title, char* items[], puCallback callbacks[])
{
    void* users[16] = {};
    for (int k = 0; k < 16 && items[k]; ++k) users[k] = &s;
    bar->add_submenu(title, items, callbacks, users);
}

}  // namespace

void choose_tool(Session& s, EditorTool tool, const char* label)
{
    s.editor.currentTool = tool;
    s.pointer.swallowClick = true;
    s.widgets.toolLabel->setLegend(label);
    if (tool == EditorTool::Nothing) s.widgets.toolLabel->hide();
    else s.widgets.toolLabel->reveal();
}

void choose_tool_entry(Session& s, int index)
{
    if (index < 0 || index > 9) return;
    choose_tool(s, TOOL_ENTRIES[index].tool, TOOL_ENTRIES[index].label);
}

void choose_tool(Session& s, EditorTool tool)
{
    for (int k = 0; k < 10; ++k)
        if (TOOL_ENTRIES[k].tool == tool) choose_tool_entry(s, k);
}

void file_command(Session& s, FileCommand command)
{
    if (aiming(s)) return;
    switch (command) {
    case FileCommand::New:
        guard_unsaved_changes(s, [&s] { new_hole(s); }, [&s] {
            s.dialogs.confirmKind = ConfirmKind::NewHole;
            message_box(s, "Start new hole?");
        });
        break;
    case FileCommand::Open: guard_unsaved_changes(s, [&s] { open_hole_dialog(s); }, {}); break;
    case FileCommand::Save: save_hole(s); break;
    case FileCommand::SaveAs: save_hole_dialog(s); break;
    }
}

void ask_exit(Session& s)
{
    guard_unsaved_changes(s, [] { std::exit(0); }, [&s] {
        s.dialogs.confirmKind = ConfirmKind::Exit;
        message_box(s, "Do you really wish to exit the program?");
    });
}

void create_menu_bars(Session& s)
{
    // PUI keeps pointers to the labels: the changing ones live in the session.
    char* configItems[] = {s.uiScaleLabel, s.aimGuideLabel, s.soundLabel, s.windowedLabel, fullScreenLabel, nullptr};
    PermanentWidgets& ui = s.widgets;
    ui.editorMenuBar = new puMenuBar();
    add_submenu(s, ui.editorMenuBar, "File", fileEditorItems, fileEditorCallbacks);
    add_submenu(s, ui.editorMenuBar, "Edit", editItems, editCallbacks);
    add_submenu(s, ui.editorMenuBar, "Config", configItems, configCallbacks);
    ui.editorMenuBar->close();
    ui.playMenuBar = new puMenuBar();
    add_submenu(s, ui.playMenuBar, "File", filePlayItems, filePlayCallbacks);
    add_submenu(s, ui.playMenuBar, "Stats", statsItems, statsCallbacks);
    add_submenu(s, ui.playMenuBar, "Special", specialItems, specialCallbacks);
    add_submenu(s, ui.playMenuBar, "Config", configItems, configCallbacks);
    ui.playMenuBar->close();
}

void place_menu_bars(Session& s, int h)
{
    PermanentWidgets& ui = s.widgets;
    for (puMenuBar* bar : {ui.editorMenuBar, ui.playMenuBar}) {
        if (!bar) continue;
        int width = 0, height = 0;
        bar->getSize(&width, &height);
        bar->setPosition(0, h - height);
    }
}

void message_box(Session& s, const char* text)
{
    ask_question(text, [&s] { answer_yes(s); }, [&s] { s.dialogs.confirmKind = ConfirmKind::None; });
}
