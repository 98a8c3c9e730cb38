// The start screen: "What would you like to do?", then the player dialog with names and
// ball colours, then the course file, then the round.
#include <plib/pu.h>

#include <cstdlib>
#include <cstring>

#include "game/ui/game_actions.h"
#include "game/rules/player_setup.h"
#include "game/rules/seat_choice.h"
#include "game/round/round_log.h"
#include "game/round/session.h"
#include "game/ui/ui_local.h"
#include "platform/ui_dialogs.h"
#include "platform/ui_step_list.h"
#include "platform/ui_text_field.h"

namespace {

// The start question, in its own coordinates: a box QUESTION_HALF_WIDTH either side of the
// window's centre, reaching QUESTION_BELOW under it and QUESTION_ABOVE over it. Rows of
// buttons are placed by their bottoms relative to that centre: "Play Course" and "Start Hole
// Editor", under them "Host Game" and "Join Game", then "Quit" on its own; "Resume Round",
// when a round is saved, stands centred above the first row.
constexpr int QUESTION_HALF_WIDTH = 175;
constexpr int QUESTION_BELOW = 135;
constexpr int QUESTION_ABOVE = 95;
constexpr int FIRST_ROW = -35;
constexpr int NET_ROW = -80;
constexpr int QUIT_ROW = -125;
constexpr int RESUME_ROW = 10;

const char* const NAME_LABELS[MAX_PLAYERS] = {"Name Player One", "Name Player Two", "Name Player Three",
                                              "Name Player Four"};
const char* const COLOUR_LABELS[MAX_PLAYERS] = {"Ball Color Player One", "Ball Color Player Two",
                                                "Ball Color Player Three", "Ball Color Player Four"};
// The colour boxes' entries (PUI keeps the pointer to the list).
char* const* colour_list()
{
    static char* list[BALL_COLOUR_COUNT + 1] = {};
    if (!list[0]) {
        for (int k = 0; k < BALL_COLOUR_COUNT; ++k) list[k] = const_cast<char*>(BALL_COLOUR_NAMES[k]);
    }
    return list;
}

void read_player_dialog(GameSession& s);

void hide_if_visible(puObject* object)
{
    if (object && object->isVisible()) object->hide();
}

// A new round replaces a saved one: asks first, then goes on to the player dialog, or back
// to the question (forgetting a course named on the command line) when the answer is No.
void begin_new_round(GameSession& s)
{
    if (!round_file_exists(s)) {
        s.dialogs.startScreenStep = StartStep::BuildPlayers;
        return;
    }
    s.dialogs.startScreenStep = StartStep::QuestionShown;   // waits for the answer
    ask_question(
        "A round is saved. Abandon it and start a new one?",
        [&s] {
            remove_round_file(s);
            s.dialogs.startScreenStep = StartStep::BuildPlayers;
        },
        [&s] {
            s.startScreen.chosenCourse.clear();
            s.dialogs.startScreenStep = StartStep::BuildQuestion;
        });
}

void play_course_chosen(puObject* button)
{
    GameSession& s = session_of(button);
    delete_dialog(s.startScreen.question);
    begin_new_round(s);
}

void quit_chosen(puObject*) { std::exit(0); }

void resume_chosen(puObject* button)
{
    GameSession& s = session_of(button);
    delete_dialog(s.startScreen.question);
    if (!resume_saved_round(s)) s.dialogs.startScreenStep = StartStep::BuildQuestion;
}

void editor_chosen(puObject* button)
{
    GameSession& s = session_of(button);
    delete_dialog(s.startScreen.question);
    s.dialogs.startScreenStep = StartStep::Editor;
}

// A colour box stepped by the player: that seat's colour is chosen.
void colour_stepped(puObject* box)
{
    GameSession& s = session_of(box);
    StartScreenWidgets& screen = s.startScreen;
    if (screen.showingFreeColours) return;
    for (int k = 0; k < MAX_PLAYERS; ++k)
        if (screen.colourBoxes[k] == box) screen.colourChosen[k] = true;
}

void players_cancelled(puObject* button)
{
    GameSession& s = session_of(button);
    delete_dialog(s.startScreen.players);
    clear_player_names(s.round);
    s.dialogs.startScreenStep = StartStep::BuildQuestion;
}

// "Ready To Play"
void assign_ball_colours(puObject* button)
{
    GameSession& s = session_of(button);
    read_player_dialog(s);   // a colour stepped since the last tick counts
    delete_dialog(s.startScreen.players);
    s.dialogs.startScreenStep = StartStep::Confirmed;
    trim_player_names(s.round);
    give_players_free_colours(s.round, s.startScreen.colourChosen);
}

void build_question(GameSession& s)
{
    PermanentWidgets& ui = s.widgets;
    hide_if_visible(ui.editorMenuBar);
    hide_if_visible(ui.hideMenuButton);
    hide_if_visible(ui.toolLabel);
    if (ui.puttButton->isVisible()) {
        ui.puttButton->hide();
        s.round.puttRequested = true;
    }
    hide_if_visible(ui.playMenuBar);
    hide_if_visible(ui.statusBox);
    ui.zoomInButton->hide();
    ui.zoomOutButton->hide();
    ui.turnRightButton->hide();
    ui.turnLeftButton->hide();

    StartScreenWidgets& screen = s.startScreen;
    if (screen.skipQuestionTo != StartStep::None) {
        const StartStep next = screen.skipQuestionTo;
        screen.skipQuestionTo = StartStep::None;
        if (next == StartStep::BuildPlayers) begin_new_round(s);   // a course from the command line
        else s.dialogs.startScreenStep = next;
        return;
    }
    if (screen.resumeAtStart) {
        screen.resumeAtStart = false;
        if (resume_saved_round(s)) return;
    }
    const UiSize size = ui_window(s.window);   // the widgets' units
    const int w = size.width, h = size.height;
    const bool canResume = round_file_exists(s);
    s.net.chosenRole = NetRole::None;
    screen.question = new puDialogBox(w / 2 - QUESTION_HALF_WIDTH, h / 2 - QUESTION_BELOW);
    new puFrame(0, 0, 2 * QUESTION_HALF_WIDTH, QUESTION_BELOW + QUESTION_ABOVE);
    // Rows by their bottoms about the centre; columns of 150 with 20 between them.
    auto row = [](int bottom) { return QUESTION_BELOW + bottom; };
    puText* text = new puText(45, row(canResume ? RESUME_ROW + 45 : FIRST_ROW + 70));
    text->setLabel("What would you like to do?");
    add_button(s, 15, row(FIRST_ROW), 165, row(FIRST_ROW) + 30, "Play Course", play_course_chosen);
    add_button(s, 185, row(FIRST_ROW), 335, row(FIRST_ROW) + 30, "Start Hole Editor", editor_chosen);
    if (canResume) add_button(s, 100, row(RESUME_ROW), 250, row(RESUME_ROW) + 30, "Resume Round", resume_chosen);
    add_button(s, 15, row(NET_ROW), 165, row(NET_ROW) + 30, "Host Game", host_game_chosen);
    add_button(s, 185, row(NET_ROW), 335, row(NET_ROW) + 30, "Join Game", join_game_chosen);
    add_button(s, 125, row(QUIT_ROW), 225, row(QUIT_ROW) + 30, "Quit", quit_chosen);
    screen.question->close();
    screen.question->reveal();
    s.dialogs.startScreenStep = StartStep::QuestionShown;
}

void show_editor(GameSession& s)
{
    PermanentWidgets& ui = s.widgets;
    ui.editorMenuBar->reveal();
    ui.hideMenuButton->reveal();
    ui.hideMenuButton->setValue(1);
    ui.hideMenuButton->setLegend("Hide Menu");
    ui.zoomInButton->reveal();
    ui.zoomOutButton->reveal();
    ui.turnLeftButton->reveal();
    ui.turnRightButton->reveal();
    // the tool label, when a tool is chosen
    if (s.hooks.show_editor) s.hooks.show_editor(s);
    s.dialogs.startScreenStep = StartStep::None;
}

void build_players(GameSession& s)
{
    const UiSize size = ui_window(s.window);   // the widgets' units
    const int w = size.width, h = size.height;
    StartScreenWidgets& screen = s.startScreen;
    screen.players = new puDialogBox(w / 2 - 250, h / 2 - 175);
    new puFrame(0, 0, 500, 350);
    const int rows[MAX_PLAYERS][3] = {{300, 330, 327}, {230, 260, 257}, {160, 190, 187}, {90, 120, 117}};
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        const int y0 = rows[k][0], y1 = rows[k][1], ly = rows[k][2];
        screen.nameInputs[k] = new puInput(10, y0, 200, y1);
        screen.nameInputs[k]->setValidData(NAME_CHARACTERS);
        puText* nameLabel = new puText(20, ly);
        nameLabel->setLabel(NAME_LABELS[k]);
        // Arrows step through the colours in place: nothing opens past the window's edge.
        screen.colourBoxes[k] = new StepList(275, y0, 465, y1, colour_list());
        screen.colourBoxes[k]->setUserData(&s);
        screen.colourBoxes[k]->setCallback(colour_stepped);
        screen.colourChosen[k] = false;
        puText* colourLabel = new puText(260, ly);
        colourLabel->setLabel(COLOUR_LABELS[k]);
        add_seat_button(s, k);
    }
    add_button(s, 90, 30, 240, 60, "Ready To Play", assign_ball_colours);
    add_button(s, 260, 30, 410, 60, "Cancel", players_cancelled);
    screen.players->close();
    screen.players->reveal();
    s.dialogs.startScreenStep = StartStep::PlayersShown;
}

void read_player_dialog(GameSession& s)
{
    StartScreenWidgets& screen = s.startScreen;
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        char* text = screen.nameInputs[k]->getStringValue();
        if (std::strlen(text) > static_cast<size_t>(MAX_NAME_LENGTH)) {
            char cut[MAX_NAME_LENGTH + 1];
            std::memcpy(cut, text, MAX_NAME_LENGTH);
            cut[MAX_NAME_LENGTH] = '\0';
            set_text_field(screen.nameInputs[k], cut);
            text = screen.nameInputs[k]->getStringValue();
        }
        set_player_name(s.round.players[k], text);
        const int item = screen.colourBoxes[k]->getCurrentItem();
        if (item >= 0 && item < BALL_COLOUR_COUNT) set_ball_colour_name(s.round.players[k], BALL_COLOUR_NAMES[item]);
    }
    // The boxes nobody stepped show the colour their player would get now.
    GameState preview = s.round;
    give_players_free_colours(preview, screen.colourChosen);
    screen.showingFreeColours = true;
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        const int item = preview.players[k].ballColour - 1;
        if (!screen.colourChosen[k] && screen.colourBoxes[k]->getCurrentItem() != item)
            screen.colourBoxes[k]->setCurrentItem(item);
    }
    screen.showingFreeColours = false;
}

void back_to_question(GameSession& s)
{
    s.round.playerCount = 0;
    clear_player_names(s.round);
    s.dialogs.startScreenStep = StartStep::BuildQuestion;
}

void choose_course(GameSession& s)
{
    int named = 0;
    for (const Player& player : s.round.players) named += player.name[0] != '\0';
    if (named == 0) {
        back_to_question(s);
        return;
    }
    s.round.playerCount = compact_players(s.round);
    s.dialogs.startScreenStep = StartStep::WaitingForCourse;
    if (join_chosen_game(s)) return;
    if (!s.startScreen.chosenCourse.empty()) {
        const std::string path = s.startScreen.chosenCourse;
        s.startScreen.chosenCourse.clear();
        load_chosen_course(
            s, false, path,
            [&s] {
                start_round(s);
                s.dialogs.startScreenStep = StartStep::None;
            },
            [&s] { back_to_question(s); });
        return;
    }
    open_course_dialog(
        s, false,
        [&s] {
            if (net_game_chosen(s)) {
                host_chosen_game(s);
                return;
            }
            start_round(s);
            s.dialogs.startScreenStep = StartStep::None;
        },
        [&s] { back_to_question(s); });
}

}  // namespace

void start_screen_step(GameSession& s)
{
    DialogState& dialogs = s.dialogs;
    if (dialogs.startScreenStep == StartStep::BuildQuestion) build_question(s);
    if (dialogs.startScreenStep == StartStep::Editor) show_editor(s);
    if (dialogs.startScreenStep == StartStep::BuildPlayers) build_players(s);
    if (dialogs.startScreenStep == StartStep::PlayersShown) read_player_dialog(s);
    if (dialogs.startScreenStep == StartStep::ChooseCourse) choose_course(s);
    if (dialogs.startScreenStep == StartStep::Confirmed) dialogs.startScreenStep = StartStep::ChooseCourse;
}

void recentre_start_screen(GameSession& s, int w, int h)
{
    StartScreenWidgets& screen = s.startScreen;
    if (screen.question) screen.question->setPosition(w / 2 - QUESTION_HALF_WIDTH, h / 2 - QUESTION_BELOW);
    if (screen.players) screen.players->setPosition(w / 2 - 250, h / 2 - 175);
}

void start_with_course(GameSession& s, const std::string& path)
{
    s.startScreen.chosenCourse = path;
    s.startScreen.skipQuestionTo = StartStep::BuildPlayers;
}

void start_in_editor(GameSession& s) { s.startScreen.skipQuestionTo = StartStep::Editor; }
