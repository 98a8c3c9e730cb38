// Where things are on the game's screens, in window pixels (y from the top), for a window
// of the given size; the places follow from the widgets' layout.
#pragma once

#include <cstdlib>
#include <string>

#include "tests/e2e/harness.h"

struct Point {
    int x, y;
};

// The face of a PUI widget in the game's colour scheme: a mid grey.
inline bool is_grey_widget(const Rgb& c) { return c.r > 150 && c.r < 215 && c.r == c.g && c.g == c.b; }

// Waits up to three seconds for a condition: a loaded machine may take a few frames to show it.
template <typename Condition>
bool soon(GameSession& game, Condition condition)
{
    for (int tries = 0; tries < 15; ++tries) {
        if (condition()) return true;
        game.settle(0.2);
    }
    return condition();
}

// The start question, centred: "Play Course" and "Start Hole Editor".
inline Point play_course_button(int w, int h) { return {w / 2 - 175 + 90, h - (h / 2 - 75 + 55)}; }
inline Point start_editor_button(int w, int h) { return {w / 2 - 175 + 260, h - (h / 2 - 75 + 55)}; }
// Below them "Quit", centred; with a saved round "Resume Round" stands centred above them.
inline Point quit_button(int w, int h) { return {w / 2, h / 2 + 110}; }
inline Point resume_round_button(int w, int h) { return {w / 2, h / 2 - 25}; }

// Yes and No of a question box, centred.
inline Point yes_button(int w, int h) { return {w / 2 - 250 + 190, h - (h / 2 - 75 + 20)}; }
inline Point no_button(int w, int h) { return {w / 2 - 250 + 310, h - (h / 2 - 75 + 20)}; }

// The aim guide's dots: pure white pixels in the square of 120 pixels round the ball at the
// centre of a 600 x 450 screenshot while aiming, leaving out the ball and the power meter's box
// up and right of it (the grass, the tee mat and the putter there have none; the railings lie
// farther out).
inline int white_pixels_round_the_ball(const std::string& png)
{
    const std::string count = run_command(
        "convert '" + png + "' -fill black -draw 'rectangle 305,175 440,210' -draw 'circle 300,225 300,209' "
        "-crop 120x120+240+165 +repage -fill black +opaque '#FFFFFF' -format '%[fx:round(mean*w*h)]' info:");
    return std::atoi(count.c_str());
}

// The file chooser's confirm ("Open"/"Save") and "Cancel" buttons.
inline Point chooser_confirm(int w, int h) { return {w / 2 - 250 + 340, h - (h / 2 - 160 + 22)}; }
inline Point chooser_cancel(int w, int h) { return {w / 2 - 250 + 440, h - (h / 2 - 160 + 22)}; }

// The editor menu bar's "File" title and its entries.
inline Point file_menu() { return {20, 10}; }
// Menu entries stand 26 pixels apart, the first 37 from the top.
enum FileEntry { FILE_NEW = 37, FILE_OPEN = 63, FILE_SAVE = 115, FILE_SAVE_AS = 141, FILE_TRY_HOLE = 193,
                 FILE_MAKE_COURSE = 219, FILE_RESTART = 271, FILE_EXIT = 323 };
inline Point file_entry(FileEntry entry) { return {30, static_cast<int>(entry)}; }

// Starts the game and walks from the start question into the editor.
inline bool start_editor(GameSession& game, int w = 600, int h = 450)
{
    if (!game.start()) return false;
    // A loaded machine may take a while to build the question: click once it shows, and
    // return once it has gone.
    const Point button = start_editor_button(w, h);
    const Point box = {w / 2 - 175 + 8, button.y};
    if (!soon(game, [&] { return is_grey_widget(game.pixel(box.x, box.y)); })) return false;
    game.click(button.x, button.y);
    return soon(game, [&] { return !is_grey_widget(game.pixel(box.x, box.y)); });
}

inline void choose_file_entry(GameSession& game, FileEntry entry)
{
    game.click(file_menu().x, file_menu().y);
    Point item = file_entry(entry);
    game.click(item.x, item.y);
}

// After a save was confirmed: a hole with findings (no tee, no cup, ...) first shows them,
// and "Save Anyway" (where a question's "Yes" stands) writes it. True once the title is title.
inline bool saved_after_checks(GameSession& game, const std::string& title)
{
    if (game.wait_title(title, 1.5)) return true;
    const Point saveAnyway = yes_button(600, 450);
    game.click(saveAnyway.x, saveAnyway.y);
    return game.wait_title(title);
}

// File > Save As in the editor, the chooser's name ("hole1.top") replaced by name, then the
// chooser's confirm; true once the title says the hole was saved.
inline bool save_hole_as(GameSession& game, const std::string& name)
{
    choose_file_entry(game, FILE_SAVE_AS);
    game.key("BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace");
    game.type(name);
    const Point confirm = chooser_confirm(600, 450);
    game.click(confirm.x, confirm.y);
    return saved_after_checks(game, name + ".top has been saved.");
}
