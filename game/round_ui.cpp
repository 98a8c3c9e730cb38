// The round's screens: choosing a course file, showing the play widgets, Load Course and
// Restart from the menus.
#include <plib/pu.h>

#include <string>

#include "app/shell.h"
#include "app/window_state.h"
#include "audio/audio.h"
#include "game/dialog_state.h"
#include "game/game_actions.h"
#include "game/game_state.h"
#include "game/round_flow.h"
#include "hole/course.h"
#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "physics/physics.h"
#include "platform/fs.h"
#include "platform/ui_dialogs.h"

namespace {

constexpr const char* COURSES_DIRECTORY = "courses";

void show_play_widgets()
{
    PermanentWidgets& ui = widgets;
    ui.hideMenuButton->reveal();
    ui.hideMenuButton->setValue(1);
    ui.hideMenuButton->setLegend("Hide Menu");
    ui.editorMenuBar->hide();
    ui.playMenuBar->reveal();
    ui.statusBox->reveal();
    ui.toolLabel->hide();
    ui.zoomInButton->reveal();
    ui.zoomOutButton->reveal();
    ui.turnLeftButton->reveal();
    ui.turnRightButton->reveal();
}

}  // namespace

void open_course_dialog(bool fromPlayMenu, std::function<void()> onLoaded, std::function<void()> onCancelled)
{
    FileDialogOptions options;
    options.title = "Load Course File";
    options.directory = COURSES_DIRECTORY;
    options.filterLabel = "Course files (*.cor)";
    options.extension = ".cor";
    options.mustExist = true;
    show_file_dialog(
        options,
        [fromPlayMenu, onLoaded, onCancelled](const std::string& path) {
            if (fromPlayMenu) {
                remove_course_files(false);
                clear_hole();
                course.holeCount = 0;
                gameState.currentHole = 1;
                gameState.currentPlayer = 1;
            }
            CourseLoadResult result = load_course(path);
            if (!result.ok) {
                show_message(result.message, "Load Course File");
                if (onCancelled) onCancelled();
                return;
            }
            currentFileName = path;
            current_file_base_name(true);
            if (onLoaded) onLoaded();
        },
        onCancelled);
}

void start_round()
{
    show_play_widgets();
    begin_round();
}

void load_course_from_menu()
{
    GameState& game = gameState;
    if (game.playerCount <= 0) {
        game.playerCount = 0;
        for (Player& player : game.players) player.name[0] = '\0';
        dialogState.startScreenStep = 1;
        remove_course_files(true);
        clear_hole();
        course.holeCount = 0;
        cancel_stroke();
        return;
    }
    open_course_dialog(true, [] {
        begin_loaded_course();
        widgets.puttButton->reveal();
    }, {});
}

void restart_program()
{
    WindowState& window = windowState;
    if (window.soundOn == 1) {
        free_sound();
        stop_music();
    }
    reset_round();
    widgets.puttButton->reveal();
    if (window.soundOn == 1) window.soundsPending = 1;
    currentFileName.clear();
    set_window_title("No File Loaded.");
}
