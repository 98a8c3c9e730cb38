// The editor's drawing steps of a frame: the world point under the pointer, and the current
// tool's white preview on the tile there.
#include <GL/gl.h>

#include "editor/editor_gl.h"
#include "editor/editor_tools.h"
#include "editor/picking.h"

void pick_pointer(EditorState& editor, const HoleGrid& grid, int blockFrame, int pointerX, int pointerY,
                  int windowHeight)
{
    // The ray through the pointer's pixel, cast against the hole as it was just drawn, gives
    // the point the depth buffer would: the nearest surface, not the tile's base.
    double modelView[16], projection[16];
    int viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const double winX = pointerX;
    const double winY = windowHeight - pointerY - 1;
    PickRay ray;
    float* out = editor.pointerWorld;
    if (!pick_ray(modelView, projection, viewport, winX, winY, ray)) {
        out[0] = out[1] = 1.0e9f;   // no tile
        return;
    }
    double point[3];
    cast_pick_ray(grid, blockFrame, ray, point);
    out[0] = static_cast<float>(point[0]);
    out[1] = static_cast<float>(point[1]);
}

void draw_tool_preview(EditorState& editor, const HoleGrid& grid, bool aiming, int pointerX, int pointerY,
                       uint32_t lineTexture)
{
    if (aiming) {
        editor.lastPreview = ToolPreview{};
        editor.heldPress = Click::None;
        return;
    }
    PreviewDrawing drawing;
    editor.lastPreview = tool_preview(grid, editor.currentTool, editor.pointerWorld[0], editor.pointerWorld[1], &drawing);
    preview_made_at(editor, pointerX, pointerY);
    if (drawing.lines.empty() && drawing.points.empty()) return;

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, lineTexture);
    glColor3f(1, 1, 1);
    glLineWidth(1);
    glBegin(GL_LINES);
    for (const PreviewPoint& p : drawing.lines) {
        glTexCoord2f(0.5f, 0.5f);
        glVertex3f(p.x, p.y, p.z);
    }
    glEnd();
    glPointSize(1);
    glBegin(GL_POINTS);
    for (const PreviewPoint& p : drawing.points) {
        glTexCoord2f(0.5f, 0.5f);
        glVertex3f(p.x, p.y, p.z);
    }
    glEnd();
}
