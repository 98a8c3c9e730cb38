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
#include "platform/paths.h"
#include "platform/unpack_dir.h"

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

std::string course_unpack_parent()
{
    // Beside the course file when portable; else a folder of this run's own, so two copies of
    // the game never unpack into the same place and the bundled courses stay read-only.
    return gamePaths.portable ? std::string() : run_unpack_dir();
}

}  // namespace

void open_course_dialog(bool fromPlayMenu, std::function<void()> onLoaded, std::function<void()> onCancelled)
{
    FileDialogOptions options;
    options.title = "Load Course File";
    options.directory = user_data_file(COURSES_DIRECTORY);
    if (!bundled_courses_dir().empty()) options.moreDirectories.push_back(bundled_courses_dir());
    options.filterLabel = "Course files (*.cor)";
    options.extension = ".cor";
    options.mustExist = true;
    show_file_dialog(
        options,
        [fromPlayMenu, onLoaded, onCancelled](const std::string& path) {
            load_chosen_course(fromPlayMenu, path, onLoaded, onCancelled);
        },
        onCancelled);
}

void load_chosen_course(bool fromPlayMenu, const std::string& path, std::function<void()> onLoaded,
                        std::function<void()> onCancelled)
{
    if (fromPlayMenu) {
        remove_course_files(false);
        clear_hole();
        course.holeCount = 0;
        gameState.currentHole = 1;
        gameState.currentPlayer = 1;
    }
    CourseLoadResult result = load_course(course, path, course_unpack_parent());
    if (!result.ok) {
        show_message(result.message, "Load Course File");
        if (onCancelled) onCancelled();
        return;
    }
    currentFileName = path;
    current_file_base_name(true);
    if (onLoaded) onLoaded();
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
