// What the menus and dialogs have open; the input handlers and the frame driver test it.
#pragma once

// What the open message box asks.
enum class ConfirmKind {
    None = 0,
    NewHole = 1,
    Restart = 2,
    Exit = 3,
    Windowed = 4,
    Resolution = -1,   // the resolution dialog is open
};

// The start screen's steps, in the order they follow one another.
enum class StartStep {
    None = 0,                 // the start screen is done
    BuildQuestion = 1,        // "What would you like to do?" is to be shown
    QuestionShown = 2,
    Editor = 3,               // the editor was chosen
    BuildPlayers = 4,         // the player dialog is to be shown
    PlayersShown = 5,
    Confirmed = 6,            // "Ready To Play" pressed
    ChooseCourse = 7,
    RoundStart = 8,
    WaitingForCourse = 9,     // the course dialog is open
};

struct DialogState {
    ConfirmKind confirmKind = ConfirmKind::None;   // what the open message box asks
    bool resolutionDialogOpen = false;
    bool pickUpDialogOpen = false;
    bool goToHoleDialogOpen = false;
    bool leaderBoardShown = false;
    StartStep startScreenStep = StartStep::BuildQuestion;   // the start screen runs while not None
};
