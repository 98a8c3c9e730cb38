#include "app/hole_dialogs.h"

#include <string>

#include "app/editor_commands.h"
#include "app/shell.h"
#include "hole/hole_file.h"
#include "platform/fs.h"
#include "platform/ui_dialogs.h"
#include "platform/paths.h"

namespace {

constexpr const char* HOLES_DIRECTORY = "holes";

}  // namespace

void open_hole_dialog(Session& s)
{
    FileDialogOptions options;
    options.title = "Load Hole Topography File";
    options.directory = user_data_file(s.paths, HOLES_DIRECTORY);
    options.filterLabel = "Hole topography files (*.top)";
    options.extension = ".top";
    options.mustExist = true;
    show_file_dialog(options, [&s](const std::string& path) {
        // A course archive or any other file would read as a blank hole, and a later Save
        // would write over it: only hole files open, and the hole shown stays otherwise.
        if (!is_hole_file(path)) {
            show_message(base_name(path) + " is not a hole file.\nThe editor opens hole topography files (*.top) only.",
                         "Load Hole Topography File");
            return;
        }
        std::string error;
        if (!read_hole_file(s.grid, path, &error)) {
            show_message(error, "Load Hole Topography File");
            return;
        }
        s.currentFileName = path;
        editor_hole_opened(s);
        current_file_base_name(s, true);
    });
}

bool save_hole_to(Session& s, const char* path)
{
    std::string error;
    if (!write_hole_file(s.grid, path, &error)) {
        set_window_title(s, (base_name(path) + " could not be saved.").c_str());
        show_message("The hole could not be saved.\n" + error, "Save Hole Topography File");
        return false;
    }
    s.currentFileName = path;
    const std::string title = current_file_base_name(s, false) + " has been saved.";
    set_window_title(s, title.c_str());
    return true;
}

void save_hole_dialog(Session& s, std::function<void()> afterSaved)
{
    FileDialogOptions options;
    options.title = "Save Hole Topography File";
    options.directory = user_data_file(s.paths, HOLES_DIRECTORY);
    options.filterLabel = "Hole Topography File (*.top)";
    options.extension = ".top";
    options.initialName = s.currentFileName.empty() ? std::string("hole1.top") : base_name(s.currentFileName);
    options.askOverwrite = true;
    show_file_dialog(options, [&s, afterSaved](const std::string& path) { save_hole_checked(s, path.c_str(), afterSaved); });
}

void save_hole(Session& s, std::function<void()> afterSaved)
{
    if (s.currentFileName.empty()) {
        save_hole_dialog(s, afterSaved);
        return;
    }
    save_hole_checked(s, s.currentFileName.c_str(), afterSaved);
}
