// What the menus and dialogs have open; the input handlers and the frame driver test it.
#pragma once

enum ConfirmKind {
    CONFIRM_NONE = 0,
    CONFIRM_NEW_HOLE = 1,
    CONFIRM_RESTART = 2,
    CONFIRM_EXIT = 3,
    CONFIRM_WINDOWED = 4,
    CONFIRM_RESOLUTION = -1,   // the resolution dialog is open
};

struct DialogState {
    int confirmKind = CONFIRM_NONE;   // what the open message box asks
    int resolutionDialogOpen = 0;
    int pickUpDialogOpen = 0;
    int goToHoleDialogOpen = 0;
    int leaderBoardShown = 0;
    int startScreenStep = 1;          // the start screen runs while above 0
};

extern DialogState dialogState;
