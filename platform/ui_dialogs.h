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

// A box with a text and one "OK" button; the text also goes to stderr.
void show_message(const std::string& text, const std::string& caption);

// A Yes/No question laid out like the game's question box.
void ask_question(const std::string& text, std::function<void()> onYes, std::function<void()> onNo);

// True while any dialog of this layer is open.
bool platform_dialog_open();

// Keeps every open dialog of this layer centred in a window of the given size.
void recentre_platform_dialogs(int windowWidth, int windowHeight);
