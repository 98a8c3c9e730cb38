// The start screen: "What would you like to do?", then the player dialog with names and
// ball colours, then the course file, then the round.
#include <plib/puAux.h>

#include <cstring>

#include "app/frame_steps.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "editor/editor_state.h"
#include "game/dialog_state.h"
#include "game/game_actions.h"
#include "game/game_state.h"
#include "game/player_setup.h"
#include "game/start_screen.h"
#include "platform/ui_text_field.h"

namespace {

enum StartStep {
    STEP_NONE = 0,
    STEP_BUILD_QUESTION = 1,
    STEP_QUESTION_SHOWN = 2,
    STEP_EDITOR = 3,
    STEP_BUILD_PLAYERS = 4,
    STEP_PLAYERS_SHOWN = 5,
    STEP_CONFIRMED = 6,
    STEP_CHOOSE_COURSE = 7,
    STEP_ROUND_START = 8,
    STEP_WAITING_FOR_COURSE = 9,   // the course dialog is open
};

struct StartScreen {
    puDialogBox* question = nullptr;
    puDialogBox* players = nullptr;
    puInput* nameInputs[MAX_PLAYERS] = {};
    puaComboBox* colourBoxes[MAX_PLAYERS] = {};
};

StartScreen screen;

const char* const NAME_LABELS[MAX_PLAYERS] = {"Name Player One", "Name Player Two", "Name Player Three",
                                              "Name Player Four"};
const char* const COLOUR_LABELS[MAX_PLAYERS] = {"Ball Color Player One", "Ball Color Player Two",
                                                "Ball Color Player Three", "Ball Color Player Four"};
char* colourList[BALL_COLOUR_COUNT + 1] = {};

void hide_if_visible(puObject* object)
{
    if (object && object->isVisible()) object->hide();
}

void delete_dialog(puDialogBox*& box)
{
    if (box) puDeleteObject(box);
    box = nullptr;
}

void play_course_chosen(puObject*)
{
    delete_dialog(screen.question);
    dialogState.startScreenStep = STEP_BUILD_PLAYERS;
}

void editor_chosen(puObject*)
{
    delete_dialog(screen.question);
    dialogState.startScreenStep = STEP_EDITOR;
}

void players_cancelled(puObject*)
{
    delete_dialog(screen.players);
    clear_player_names(gameState);
    dialogState.startScreenStep = STEP_BUILD_QUESTION;
}

// "Ready To Play"
void assign_ball_colours(puObject*)
{
    delete_dialog(screen.players);
    dialogState.startScreenStep = STEP_CONFIRMED;
    trim_player_names(gameState);
    assign_ball_colours_from_names(gameState);
}

void build_question()
{
    PermanentWidgets& ui = widgets;
    hide_if_visible(ui.editorMenuBar);
    hide_if_visible(ui.hideMenuButton);
    hide_if_visible(ui.toolLabel);
    if (ui.puttButton->isVisible()) {
        ui.puttButton->hide();
        gameState.puttRequested = 1;
    }
    hide_if_visible(ui.playMenuBar);
    hide_if_visible(ui.statusBox);
    ui.zoomInButton->hide();
    ui.zoomOutButton->hide();
    ui.turnRightButton->hide();
    ui.turnLeftButton->hide();

    const int w = windowState.windowWidth, h = windowState.windowHeight;
    screen.question = new puDialogBox(w / 2 - 175, h / 2 - 75);
    new puFrame(0, 0, 350, 150);
    puText* text = new puText(45, 110);
    text->setLabel("What would you like to do?");
    puOneShot* play = new puOneShot(15, 40, 165, 70);
    play->setLegend("Play Course");
    play->setCallback(play_course_chosen);
    puOneShot* editor = new puOneShot(185, 40, 335, 70);
    editor->setLegend("Start Hole Editor");
    editor->setCallback(editor_chosen);
    screen.question->close();
    screen.question->reveal();
    dialogState.startScreenStep = STEP_QUESTION_SHOWN;
}

void show_editor()
{
    PermanentWidgets& ui = widgets;
    ui.editorMenuBar->reveal();
    ui.hideMenuButton->reveal();
    ui.hideMenuButton->setValue(1);
    ui.hideMenuButton->setLegend("Hide Menu");
    ui.zoomInButton->reveal();
    ui.zoomOutButton->reveal();
    ui.turnLeftButton->reveal();
    ui.turnRightButton->reveal();
    if (editorState.currentTool != TOOL_NOTHING) ui.toolLabel->reveal();
    dialogState.startScreenStep = STEP_NONE;
}

void build_players()
{
    if (!colourList[0]) {
        for (int k = 0; k < BALL_COLOUR_COUNT; ++k) colourList[k] = const_cast<char*>(BALL_COLOUR_NAMES[k]);
    }
    const int w = windowState.windowWidth, h = windowState.windowHeight;
    screen.players = new puDialogBox(w / 2 - 250, h / 2 - 175);
    new puFrame(0, 0, 500, 350);
    const int rows[MAX_PLAYERS][3] = {{300, 330, 327}, {230, 260, 257}, {160, 190, 187}, {90, 120, 117}};
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        const int y0 = rows[k][0], y1 = rows[k][1], ly = rows[k][2];
        screen.nameInputs[k] = new puInput(10, y0, 200, y1);
        screen.nameInputs[k]->setValidData(NAME_CHARACTERS);
        puText* nameLabel = new puText(20, ly);
        nameLabel->setLabel(NAME_LABELS[k]);
        screen.colourBoxes[k] = new puaComboBox(275, y0, 465, y1, colourList, FALSE);
        puText* colourLabel = new puText(260, ly);
        colourLabel->setLabel(COLOUR_LABELS[k]);
    }
    puOneShot* ready = new puOneShot(90, 30, 240, 60);
    ready->setLegend("Ready To Play");
    ready->setCallback(assign_ball_colours);
    puOneShot* cancel = new puOneShot(260, 30, 410, 60);
    cancel->setLegend("Cancel");
    cancel->setCallback(players_cancelled);
    screen.players->close();
    screen.players->reveal();
    dialogState.startScreenStep = STEP_PLAYERS_SHOWN;
}

void read_player_dialog()
{
    for (int k = 0; k < MAX_PLAYERS; ++k) {
        char* text = screen.nameInputs[k]->getStringValue();
        if (std::strlen(text) > static_cast<size_t>(MAX_NAME_LENGTH)) {
            char cut[MAX_NAME_LENGTH + 1];
            std::memcpy(cut, text, MAX_NAME_LENGTH);
            cut[MAX_NAME_LENGTH] = '\0';
            set_text_field(screen.nameInputs[k], cut);
            text = screen.nameInputs[k]->getStringValue();
        }
        set_player_name(gameState.players[k], text);
        const char* colour = screen.colourBoxes[k]->getStringValue();
        if (colour && colour[0]) set_ball_colour_name(gameState.players[k], colour);
    }
}

void back_to_question()
{
    gameState.playerCount = 0;
    clear_player_names(gameState);
    dialogState.startScreenStep = STEP_BUILD_QUESTION;
}

void choose_course()
{
    int named = 0;
    for (const Player& player : gameState.players) named += player.name[0] != '\0';
    if (named == 0) {
        back_to_question();
        return;
    }
    gameState.playerCount = compact_players(gameState);
    dialogState.startScreenStep = STEP_WAITING_FOR_COURSE;
    open_course_dialog(
        false,
        [] {
            start_round();
            dialogState.startScreenStep = STEP_NONE;
        },
        back_to_question);
}

}  // namespace

void start_screen_step()
{
    DialogState& dialogs = dialogState;
    if (dialogs.startScreenStep == STEP_BUILD_QUESTION) build_question();
    if (dialogs.startScreenStep == STEP_EDITOR) show_editor();
    if (dialogs.startScreenStep == STEP_BUILD_PLAYERS) build_players();
    if (dialogs.startScreenStep == STEP_PLAYERS_SHOWN) read_player_dialog();
    if (dialogs.startScreenStep == STEP_CHOOSE_COURSE) choose_course();
    if (dialogs.startScreenStep == STEP_CONFIRMED) dialogs.startScreenStep = STEP_CHOOSE_COURSE;
}

void recentre_start_screen(int w, int h)
{
    if (screen.question) screen.question->setPosition(w / 2 - 175, h / 2 - 75);
    if (screen.players) screen.players->setPosition(w / 2 - 250, h / 2 - 175);
}
