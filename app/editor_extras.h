// The editor's session state beyond the tools: the window title it marks, a hole being tried
// and the Make Course dialog.
#pragma once

#include <memory>
#include <string>

#include "editor/editor_state.h"
#include "hole/hole_grid.h"
#include "render/camera.h"

// Try Hole: what the editor was, to be put back exactly when the try ends.
struct TryHoleState {
    bool active = false;
    std::unique_ptr<HoleGrid> grid;   // the hole as it stood
    std::string fileName;
    EditorTool tool = EditorTool::Nothing;
    CameraState camera;
    std::string titleBase;
    bool menuShown = true;
    int holedFrames = 0;              // frames since the ball dropped; the try ends after a few
};

struct MakeCourseDialog;   // app/make_course.cpp

struct EditorExtras {
    std::string titleBase = "No File Loaded.";   // the title without the unsaved mark
    bool titleMarked = false;                     // the shown title carries the mark
    std::string titleShown;                       // what the window shows (GLUT copies it)
    TryHoleState tryHole;
    std::shared_ptr<MakeCourseDialog> makeCourse; // open while not null
};
