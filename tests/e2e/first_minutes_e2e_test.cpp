// What a new player meets in the first minutes. Broken sound files make one message; the
// start question asks before Escape leaves and has a Quit button; the editor refuses a course
// archive opened or saved over as a hole. Four players get four colours, the last seat
// reaching every one; an aim is taken back with Escape or a right click, and a click where
// Putt stood then strikes nothing; the aim guide switched on from the menu while aiming takes
// effect and is stored at once; a course on the command line asks before dropping a saved
// round.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace fs = std::filesystem;

namespace {

constexpr int W = 600, H = 450;

class FirstMinutesTest : public DisplayTest {};

// "OK" of a message box whose text has the given number of lines (the box grows past three).
Point message_ok(int lines) { return {W / 2, H - (H / 2 - std::max(75, 40 + lines * 10) + 20)}; }

// A 500-wide question or message box shows: its frame left of the 350-wide start question.
bool wide_box_shown(GameSession& game) { return is_grey_widget(game.pixel(W / 2 - 240, H / 2)); }
// The start question shows: its frame left of its text and buttons.
bool start_question_shown(GameSession& game) { return is_grey_widget(game.pixel(W / 2 - 170, H / 2 - 65)); }

int count_of(const std::string& text, const std::string& piece)
{
    int n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

// The dark (text) pixels of a rectangle of the game's window as a fingerprint.
std::string text_print(GameSession& game, const VirtualDisplay& display, int x, int y, int w, int h)
{
    std::string print;
    for (const Rgb& c : window_pixels(display.name(), std::strtoul(game.window_id().c_str(), nullptr, 10), x, y, w, h))
        print += (c.r + c.g + c.b < 200) ? '#' : '.';
    return print;
}

bool putt_shown(GameSession& game) { return is_grey_widget(game.pixel(515, 18)); }
constexpr Point PUTT{545, 30};
constexpr Point CONFIG_TITLE{140, 10};
constexpr int AIM_GUIDE_ENTRY_Y = 115;

}  // namespace

TEST_F(FirstMinutesTest, BrokenSoundsMakeOneMessageEscapeAsksAndTheEditorLeavesACourseAlone)
{
    GameSession game(*display);
    make_straight_course(game, "beginners", 1);
    const std::string archive = "courses/beginners.cor";
    const std::string archiveBytes = game.read_file(archive);
    ASSERT_GT(archiveBytes.size(), 100u);

    // A data folder of the game's own pictures and fonts, its sounds with three effects and
    // the music broken.
    const fs::path data = game.dir() / "data", run = MG_RUN_DIR;
    const fs::path sounds = data / "sounds", goodSounds = run / "sounds";
    fs::create_directories(sounds);
    fs::create_directory_symlink(run / "textures", data / "textures");
    fs::create_directory_symlink(run / "fonts", data / "fonts");
    game.extraEnvironment = {"MINIGOLF_DATA_DIR=" + data.string()};
    std::vector<std::string> waves;
    for (const auto& entry : fs::directory_iterator(goodSounds)) {
        fs::copy_file(entry.path(), sounds / entry.path().filename());
        if (entry.path().extension() == ".wav") waves.push_back(entry.path().filename().string());
    }
    std::sort(waves.begin(), waves.end());
    ASSERT_GE(waves.size(), 3u);
    const std::vector<std::string> broken = {waves[0], waves[1], waves[2], "Background.mid"};
    for (const std::string& name : broken) game.write_file("data/sounds/" + name, "not a sound");

    ASSERT_TRUE(game.start());
    ASSERT_TRUE(soon(game, [&] { return wide_box_shown(game); })) << "no message about the sounds\n"
                                                                   << game.read_file("game.log");
    game.settle(0.5);
    game.screenshot("first_minutes_broken_sounds");
    const std::string log = game.read_file("game.log");
    EXPECT_EQ(count_of(log, "Sound Files: These sound files could not be loaded"), 1) << log;
    const size_t message = log.find("Sound Files: ");
    for (const std::string& name : broken)
        EXPECT_NE(log.find("\n     " + name + " - ", message), std::string::npos) << name << " not listed in\n" << log;
    const Point ok = message_ok(1 + static_cast<int>(broken.size()));
    game.click(ok.x, ok.y);
    ASSERT_TRUE(soon(game, [&] { return !wide_box_shown(game); })) << "a second message followed";
    EXPECT_TRUE(start_question_shown(game));

    // Escape on the start question asks to leave; No keeps the question.
    game.key("Escape");
    ASSERT_TRUE(soon(game, [&] { return wide_box_shown(game); })) << "Escape asked nothing";
    game.screenshot("first_minutes_escape_on_start_question");
    const Point no = no_button(W, H);
    game.click(no.x, no.y);
    ASSERT_TRUE(soon(game, [&] { return !wide_box_shown(game); }));
    EXPECT_TRUE(game.running());
    EXPECT_TRUE(start_question_shown(game));
    game.screenshot("first_minutes_start_question_with_quit");

    // The editor is asked to open the course archive as a hole: refused, nothing changes.
    const Point editor = start_editor_button(W, H);
    game.click(editor.x, editor.y);
    ASSERT_TRUE(soon(game, [&] { return !start_question_shown(game); }));
    game.key("ctrl+o");
    game.settle(0.5);
    game.type("../courses/beginners.cor");
    const Point open = chooser_confirm(W, H);
    game.click(open.x, open.y);
    ASSERT_TRUE(soon(game, [&] {
        return game.read_file("game.log").find("beginners.cor is not a hole file.") != std::string::npos;
    })) << game.read_file("game.log");
    game.screenshot("first_minutes_editor_refuses_course");
    EXPECT_EQ(game.title(), "No File Loaded.");
    const Point refusedOk = message_ok(2);
    game.click(refusedOk.x, refusedOk.y);
    ASSERT_TRUE(soon(game, [&] { return !wide_box_shown(game); }));

    // Saved as that name, replacing it, and past the hole's findings: refused again.
    choose_file_entry(game, FILE_SAVE_AS);
    game.key("BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace");
    game.type("../courses/beginners.cor");
    const Point save = chooser_confirm(W, H);
    game.click(save.x, save.y);
    game.settle(0.5);
    const Point replace = yes_button(W, H);   // "already exists. Do you want to replace it?"
    game.click(replace.x, replace.y);
    EXPECT_FALSE(saved_after_checks(game, "beginners.cor has been saved.")) << game.title();
    EXPECT_TRUE(game.wait_title("beginners.cor could not be saved.")) << game.title();
    game.screenshot("first_minutes_editor_keeps_course");
    EXPECT_EQ(game.read_file(archive), archiveBytes) << "the course archive was written over";
    game.click(refusedOk.x, refusedOk.y);

    // Back to the start question, whose Quit ends the game. The restart loads the sounds
    // again, and again one message tells of them.
    choose_file_entry(game, FILE_RESTART);
    const Point yes = yes_button(W, H);
    game.click(yes.x, yes.y);
    ASSERT_TRUE(soon(game, [&] {
        return count_of(game.read_file("game.log"), "Sound Files: These sound files could not be loaded") == 2;
    })) << game.read_file("game.log");
    game.settle(0.5);
    game.screenshot("first_minutes_sounds_again_after_restart");
    game.click(ok.x, ok.y);
    game.settle(0.5);
    game.screenshot("first_minutes_start_question_after_restart");
    ASSERT_TRUE(soon(game, [&] { return start_question_shown(game) && !wide_box_shown(game); }));
    const Point quit = quit_button(W, H);
    game.click(quit.x, quit.y);
    EXPECT_EQ(game.wait_exit(10), 0);
    EXPECT_EQ(game.read_file(archive), archiveBytes);
}

TEST_F(FirstMinutesTest, FourColoursAnAimTakenBackAGuideSwitchedOnAndASavedRoundAskedFor)
{
    GameSession game(*display);
    make_straight_course(game, "four", 1);
    game.extraEnvironment = {"MG_TICK_LOG=" + game.file("ticks.log")};
    ASSERT_TRUE(game.start());
    ASSERT_TRUE(soon(game, [&] { return start_question_shown(game); }));

    const Point play = play_course_button(W, H);
    game.click(play.x, play.y);
    game.settle(0.5);
    const int nameRows[4] = {85, 155, 225, 295};
    const char* const names[4] = {"Ann", "Bob", "Cy", "Dee"};
    for (int k = 0; k < 4; ++k) {
        game.click(150, nameRows[k]);
        game.type(names[k]);
    }
    game.settle(0.3);
    game.screenshot("first_minutes_four_players_untouched");
    // Player 4's colour box, at the foot of the dialog: its arrows step through all eleven
    // colours in place, the text changing at each step.
    const Point next = {W / 2 - 250 + 456, H - (H / 2 - 175 + 113)};
    const Point previous = {W / 2 - 250 + 456, H - (H / 2 - 175 + 98)};
    for (int k = 0; k < 4; ++k) game.click(previous.x, previous.y);   // back to the first
    game.settle(0.3);
    std::set<std::string> seen = {text_print(game, *display, 328, 282, 160, 26)};
    for (int k = 0; k < 10; ++k) {
        game.click(next.x, next.y);
        game.settle(0.2);
        seen.insert(text_print(game, *display, 328, 282, 160, 26));
    }
    EXPECT_EQ(seen.size(), 11u) << "player 4 could not reach every colour";
    game.screenshot("first_minutes_player_four_last_colour");
    game.click(215, 355);   // "Ready To Play"
    game.type("four");
    const Point confirm = chooser_confirm(W, H);
    game.click(confirm.x, confirm.y);
    ASSERT_TRUE(game.wait_title("four.cor")) << game.title();
    ASSERT_TRUE(soon(game, [&] { return putt_shown(game); }));
    // White, Red and Orange for the three who chose nothing; Sky Blue for Dee.
    const std::string saved = game.read_file("round_in_play.rnd");
    for (const char* seat : {"player person 1 Ann\n", "player person 2 Bob\n", "player person 3 Cy\n",
                             "player person 11 Dee\n"})
        EXPECT_NE(saved.find(seat), std::string::npos) << seat << " in\n" << saved;

    // An aim at full power, taken back with Escape: Putt shows again, no question opens,
    // and a click where Putt stood only begins a new aim; a right click takes that one back.
    game.click(PUTT.x, PUTT.y);
    game.move(W / 2 + 90, H / 2 + 90);
    game.settle(0.5);
    ASSERT_FALSE(putt_shown(game));
    game.key("Escape");
    ASSERT_TRUE(soon(game, [&] { return putt_shown(game); })) << "Escape did not take the aim back";
    EXPECT_FALSE(wide_box_shown(game)) << "Escape asked to exit while aiming";
    game.screenshot("first_minutes_aim_taken_back");
    game.click(PUTT.x, PUTT.y);
    game.settle(0.5);
    EXPECT_FALSE(putt_shown(game));
    game.click(W / 2 + 90, H / 2 + 90, 3);
    ASSERT_TRUE(soon(game, [&] { return putt_shown(game); })) << "a right click did not take the aim back";

    // While aiming, Config > Aim Guide: the guide is on and stored at once, and the next
    // aim shows it.
    game.click(PUTT.x, PUTT.y);
    game.move(W / 2 + 25, H / 2 + 25);
    game.settle(0.4);
    game.click(CONFIG_TITLE.x, CONFIG_TITLE.y);
    game.settle(0.3);
    game.click(CONFIG_TITLE.x + 20, AIM_GUIDE_ENTRY_Y);
    EXPECT_TRUE(soon(game, [&] { return game.read_file("Config.glf") == "w*s*600*450*g*"; }))
        << game.read_file("Config.glf");
    ASSERT_TRUE(soon(game, [&] { return putt_shown(game); }));
    game.click(PUTT.x, PUTT.y);
    game.move(W / 2 + 25, H / 2 + 25);
    game.settle(0.8);
    const std::string dots = game.screenshot("first_minutes_guide_switched_on_while_aiming");
    EXPECT_GT(white_pixels_round_the_ball(dots), 40) << "no dotted line round the ball";
    game.key("Escape");
    ASSERT_TRUE(soon(game, [&] { return putt_shown(game); }));
    EXPECT_EQ(count_of(game.read_file("ticks.log"), "struck"), 0) << "a stroke was struck:\n"
                                                                   << game.read_file("ticks.log");

    // Killed with the round saved, started again with the course named: asked first; No
    // keeps the round, which resumes from the start question.
    game.kill_now();
    game.set_arguments({"courses/four.cor"});
    ASSERT_TRUE(game.start());
    ASSERT_TRUE(soon(game, [&] { return wide_box_shown(game); })) << "the saved round was dropped unasked";
    game.screenshot("first_minutes_course_argument_asks");
    EXPECT_NE(game.read_file("round_in_play.rnd").find("Dee"), std::string::npos);
    const Point no = no_button(W, H);
    game.click(no.x, no.y);
    ASSERT_TRUE(soon(game, [&] { return start_question_shown(game) && !wide_box_shown(game); }));
    game.screenshot("first_minutes_resume_question");
    const Point resume = resume_round_button(W, H);
    EXPECT_TRUE(is_grey_widget(game.pixel(resume.x - 60, resume.y)));
    game.click(resume.x, resume.y);
    ASSERT_TRUE(game.wait_title("four.cor")) << game.title();
    ASSERT_TRUE(soon(game, [&] { return putt_shown(game); }));
    // Nothing aimed: Escape asks to leave.
    game.key("Escape");
    ASSERT_TRUE(soon(game, [&] { return wide_box_shown(game); }));
    const Point yes = yes_button(W, H);
    game.click(yes.x, yes.y);
    EXPECT_EQ(game.wait_exit(10), 0);
}
