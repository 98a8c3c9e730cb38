// In-window dialogs drawn with PUI: file choosers, message boxes and Yes/No questions.
// Each is a puDialogBox centred in the window; while one is open PUI gives it every event.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/file_list.h"

struct FileDialogOptions {
    std::string title;             // e.g. "Load Hole Topography File"
    std::string directory;         // the folder shown, relative to the start directory
    std::string filterLabel;       // e.g. "Hole topography files (*.top)"
    std::string extension;         // the filter's and default extension, e.g. ".top"
    std::string initialName;       // the name offered in the name field
    bool mustExist = false;        // open dialogs: the chosen file must exist
    bool askOverwrite = false;     // save dialogs: ask before replacing a file
    std::vector<std::string> moreDirectories;   // read-only folders listed too (directory's copy wins)
};

// Opens a file chooser. onChosen receives the chosen path (directory + "/" + name, the
// extension added when the name has none); onCancel runs when the user cancels.
void show_file_dialog(const FileDialogOptions& options, std::function<void(const std::string&)> onChosen,
                      std::function<void()> onCancel = {});

// A box with a text and one "OK" button; the text also goes to stderr. A text of more than
// three lines makes the box taller.
void show_message(const std::string& text, const std::string& caption);

// A Yes/No question laid out like the game's question box.
void ask_question(const std::string& text, std::function<void()> onYes, std::function<void()> onNo);

// A question with buttons of its own, left to right (e.g. "Yes", "No", "Cancel"); the box
// grows to fit a text of several lines. Each button closes the box, then runs its action.
struct Choice {
    std::string label;
    std::function<void()> action;
};
void ask_choice(const std::string& text, std::vector<Choice> choices);

// A dialog box of another layer kept with this layer's: centred, re-centred with them, and
// counted by platform_dialog_open. Open it, add the widgets, show it; close deletes it.
class puDialogBox;
puDialogBox* open_dialog_box(int halfWidth, int halfHeight);
void show_dialog_box(puDialogBox* box);
void close_dialog_box(puDialogBox* box);

// The font of the dialogs' titles (Helvetica 18 until set): one that grows with the widgets.
class puFont;
void set_dialog_title_font(const puFont& font);
const puFont& dialog_title_font();

// True while any dialog of this layer is open.
bool platform_dialog_open();

// Keeps every open dialog of this layer centred in a window of the given size.
void recentre_platform_dialogs(int windowWidth, int windowHeight);
