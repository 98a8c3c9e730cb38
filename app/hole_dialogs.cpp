#include "app/hole_dialogs.h"

#include <string>

#include "app/shell.h"
#include "hole/hole_file.h"
#include "platform/fs.h"
#include "platform/ui_dialogs.h"
#include "platform/paths.h"

namespace {

constexpr const char* HOLES_DIRECTORY = "holes";

}  // namespace

void open_hole_dialog()
{
    FileDialogOptions options;
    options.title = "Load Hole Topography File";
    options.directory = user_data_file(HOLES_DIRECTORY);
    options.filterLabel = "Hole topography files (*.top)";
    options.extension = ".top";
    options.mustExist = true;
    show_file_dialog(options, [](const std::string& path) {
        std::string error;
        if (!read_hole_file(holeGrid, path, &error)) {
            show_message(error, "Load Hole Topography File");
            return;
        }
        currentFileName = path;
        current_file_base_name(true);
    });
}

bool save_hole_to(const char* path)
{
    std::string error;
    if (!write_hole_file(holeGrid, path, &error)) {
        set_window_title((base_name(path) + " could not be saved.").c_str());
        show_message("The hole could not be saved.\n" + error, "Save Hole Topography File");
        return false;
    }
    currentFileName = path;
    std::string title = std::string(current_file_base_name(false)) + " has been saved.";
    set_window_title(title.c_str());
    return true;
}

void save_hole_dialog()
{
    FileDialogOptions options;
    options.title = "Save Hole Topography File";
    options.directory = user_data_file(HOLES_DIRECTORY);
    options.filterLabel = "Hole Topography File (*.top)";
    options.extension = ".top";
    options.initialName = currentFileName.empty() ? std::string("hole1.top") : base_name(currentFileName);
    options.askOverwrite = true;
    show_file_dialog(options, [](const std::string& path) { save_hole_to(path.c_str()); });
}

void save_hole()
{
    if (currentFileName.empty()) {
        save_hole_dialog();
        return;
    }
    save_hole_to(currentFileName.c_str());
}
