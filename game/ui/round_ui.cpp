// The round's screens: choosing a course file, showing the play widgets, Load Course and
// Restart from the menus.
#include <plib/pu.h>

#include <string>

#include "audio/audio.h"
#include "game/ui/game_actions.h"
#include "game/round/round_flow.h"
#include "game/round/session.h"
#include "hole/course_archive.h"
#include "physics/physics.h"
#include "platform/ui_dialogs.h"
#include "platform/unpack_dir.h"

namespace {

constexpr const char* COURSES_DIRECTORY = "courses";

void show_play_widgets(GameSession& s)
{
    PermanentWidgets& ui = s.widgets;
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

std::string course_unpack_parent(GameSession& s)
{
    // Beside the course file when portable; else a folder of this run's own, so two copies of
    // the game never unpack into the same place and the bundled courses stay read-only.
    return s.paths.portable ? std::string() : run_unpack_dir(s.unpackDir);
}

}  // namespace

void open_course_dialog(GameSession& s, bool fromPlayMenu, std::function<void()> onLoaded,
                        std::function<void()> onCancelled)
{
    FileDialogOptions options;
    options.title = "Load Course File";
    options.directory = user_data_file(s.paths, COURSES_DIRECTORY);
    const std::string bundled = bundled_courses_dir(s.paths);
    if (!bundled.empty()) options.moreDirectories.push_back(bundled);
    options.filterLabel = "Course files (*.cor)";
    options.extension = ".cor";
    options.mustExist = true;
    show_file_dialog(
        options,
        [&s, fromPlayMenu, onLoaded, onCancelled](const std::string& path) {
            load_chosen_course(s, fromPlayMenu, path, onLoaded, onCancelled);
        },
        onCancelled);
}

void load_chosen_course(GameSession& s, bool fromPlayMenu, const std::string& path, std::function<void()> onLoaded,
                        std::function<void()> onCancelled)
{
    if (fromPlayMenu) {
        remove_course_files(s.course, false);
        clear_hole(s.grid);
        s.course.holeCount = 0;
        s.round.currentHole = 1;
        s.round.currentPlayer = 1;
    }
    CourseLoadResult result = load_course(s.course, path, course_unpack_parent(s));
    if (!result.ok) {
        show_message(result.message, "Load Course File");
        if (onCancelled) onCancelled();
        return;
    }
    s.currentFileName = path;
    current_file_base_name(s, true);
    if (onLoaded) onLoaded();
}

void start_round(GameSession& s)
{
    show_play_widgets(s);
    begin_round(s);
}

void load_course_from_menu(GameSession& s)
{
    if (refused_in_network_game(s, "Load Course File", true)) return;
    GameState& game = s.round;
    if (game.playerCount <= 0) {
        game.playerCount = 0;
        for (Player& player : game.players) player.name[0] = '\0';
        s.dialogs.startScreenStep = StartStep::BuildQuestion;
        remove_course_files(s.course, true);
        clear_hole(s.grid);
        s.course.holeCount = 0;
        cancel_stroke(s.physics);
        return;
    }
    open_course_dialog(s, true, [&s] {
        begin_loaded_course(s);
        s.widgets.puttButton->reveal();
    }, {});
}

void restart_program(GameSession& s)
{
    // Restart leaves a network game (the others are told); one that has ended is left already.
    if (s.net.role != NetRole::None && s.net.phase != NetPhase::Ended) leave_net_game(s, "left the round");
    WindowState& window = s.window;
    if (window.soundOn) {
        free_sound();
        stop_music();
    }
    reset_round(s);
    s.widgets.puttButton->reveal();
    if (window.soundOn) window.soundsPending = true;
    s.currentFileName.clear();
    set_window_title(s, NO_FILE_TITLE);
}
