// The game's part of the session: the hole, the course, the round, the physics world that
// plays them, the window settings, the dialogs and widgets the game shows, and the hooks
// through which it reaches the application. The application's Session extends it; the game
// only ever sees this part, so game code builds and is tested without the program.
#pragma once

#include <string>

#include "game/round/computer_turn.h"
#include "game/rules/dialog_state.h"
#include "game/net/net_round.h"
#include "game/round/round_log.h"
#include "hole/course.h"
#include "hole/hole_grid.h"
#include "hole/leader_board.h"
#include "hole/round_state.h"
#include "physics/physics_world.h"
#include "platform/display_switch.h"
#include "platform/paths.h"
#include "platform/window_state.h"

class puButton;
class puDialogBox;
class puFrame;
class puInput;
class puMenuBar;
class StepList;

struct GameSession;

// The widgets every screen shares (made by the application at start-up).
struct PermanentWidgets {
    puButton* hideMenuButton = nullptr;   // "Hide Menu" / "Show Menu"
    puFrame* toolLabel = nullptr;         // the editor's current tool
    puFrame* statusBox = nullptr;         // the status line during a round
    puButton* puttButton = nullptr;       // begins aiming
    puButton* zoomInButton = nullptr;     // "+"
    puButton* zoomOutButton = nullptr;    // "-"
    puButton* turnLeftButton = nullptr;   // "<"
    puButton* turnRightButton = nullptr;  // ">"
    puMenuBar* editorMenuBar = nullptr;   // File, Edit, Config
    puMenuBar* playMenuBar = nullptr;     // File, Stats, Special, Config
};

// The dialogs of the play and Config menus, each made when opened and deleted by the button
// that closes it.
struct GameDialogs {
    puDialogBox* resolution = nullptr;
    StepList* resolutionList = nullptr;
    puDialogBox* pickUp = nullptr;
    int pickUpPlayer = 0;                 // whose ball the open Pick Up Ball asks about
    puDialogBox* goToHole = nullptr;
    StepList* holeList = nullptr;
    puDialogBox* scoreCard = nullptr;
    puDialogBox* leaderBoard = nullptr;
};

// The start screen's two dialogs, and what a file on the command line asks of it.
struct StartScreenWidgets {
    puDialogBox* question = nullptr;      // "What would you like to do?"
    puDialogBox* players = nullptr;       // names and ball colours
    puInput* nameInputs[MAX_PLAYERS] = {};
    StepList* colourBoxes[MAX_PLAYERS] = {};
    bool colourChosen[MAX_PLAYERS] = {};  // the player stepped through the colours
    bool showingFreeColours = false;      // the dialog itself is moving an untouched colour box
    std::string chosenCourse;             // named on the command line, loaded after the player dialog
    StartStep skipQuestionTo = StartStep::None;   // the step that replaces the question
    bool resumeAtStart = false;           // --resume: the saved round instead of the question
};

// What the game needs of the application and of the screen. The application fills them at
// start-up; every hook left null does nothing, so rounds run headless in tests.
struct GameHooks {
    // The round: the score card between holes, a problem to report, the hole's music.
    void (*open_score_card)(GameSession& s) = nullptr;
    void (*show_message)(GameSession& s, const char* text, const char* caption) = nullptr;
    void (*start_hole_music)(GameSession& s) = nullptr;
    // The application: the window title, the permanent widgets placed for the window size,
    // a full-screen mode, the editor's tool put down (a round starts or the program restarts),
    // the editor's widgets shown.
    void (*set_window_title)(GameSession& s, const char* title) = nullptr;
    void (*place_widgets)(GameSession& s) = nullptr;
    void (*enter_full_screen)(GameSession& s, const DisplayMode& mode) = nullptr;
    void (*drop_editor_tool)(GameSession& s) = nullptr;
    // The editor has a tool in hand: a tee placed with it waits for the tool to be put down.
    bool (*editor_holds_tee)(const GameSession& s) = nullptr;
    // Closes the score card as its OK button does.
    void (*close_score_card)(GameSession& s) = nullptr;
    void (*show_editor)(GameSession& s) = nullptr;
};

struct GameSession {
    GameSession() = default;
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    WindowState window;             // size, full screen, sound, start directory
    GamePaths paths;                // the data folder and the user's folders of this run
    std::string unpackDir;          // this run's private folder for unpacked courses (made on need)
    HoleGrid grid;                  // the hole in play or being edited
    std::string currentFileName;    // the editor's current hole or course file ("" when none)
    Course course;                  // the course loaded for play
    LeaderBoard leaderBoard;        // the board of the course loaded now
    GameState round;                // players, turns, strokes and scores
    AimInput aim;                   // the putt being aimed
    PhysicsWorld physics{grid, round, aim};   // plays grid for round and aim
    DialogState dialogs;            // what the menus and dialogs have open
    PermanentWidgets widgets;
    GameDialogs gameDialogs;
    StartScreenWidgets startScreen;
    GameHooks hooks;
    ComputerTurn computer;          // a computer seat thinking and aiming
    RoundLog roundLog;              // the round kept in the round file, and Replay Last Putt
    NetPlay net;                    // network play: the lobby, the peers and the lockstep
    int scoreCardTicks = 0;         // ticks the score card between holes has been up unread
    long holesBegun = 0;            // holes of rounds begun in this run
    // The Config menus' changing entries, shared by both bars (PUI keeps pointers to them).
    char soundLabel[20] = "Sound Off";
    char windowedLabel[20] = "--------";
    char aimGuideLabel[20] = "Aim Guide On ";
    char uiScaleLabel[24] = "UI Scale: Auto    ";
};

// The title shown when no file is current.
constexpr const char* NO_FILE_TITLE = "No File Loaded.";

// The Config entries offer the opposite of the current state, on both bars at once.
void set_sound_label(GameSession& s, bool soundOn);
void set_windowed_label(GameSession& s, bool fullScreen);
void set_aim_guide_label(GameSession& s, bool guideOn);
// The widgets' scale entry shows the setting in force (a click moves on to the next).
void set_ui_scale_label(GameSession& s, UiScale setting);

// Sets the window title through the hooks.
void set_window_title(GameSession& s, const char* title);
// The current file's base name ("" when none); with setTitle also makes it the window title.
std::string current_file_base_name(GameSession& s, bool setTitle);
