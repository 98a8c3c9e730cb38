// The scene's frame: projection, clear and depth conventions, the camera transform and
// the base plane.
#include <GL/gl.h>

#include "hole/hole_grid.h"
#include "render/camera.h"
#include "render/scene.h"

void set_projection(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float a = static_cast<float>(width / 2 - 1), b = static_cast<float>(height / 2 - 1);
    glOrtho(-a, a, -b, b, 2500, -2500);
    glMatrixMode(GL_MODELVIEW);
}

void begin_scene()
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_GEQUAL);
    glClearDepth(0.0);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glPushMatrix();
}

void apply_camera()
{
    CameraState& camera = cameraState;
    glRotatef(-60.0f, 1, 0, 0);
    glRotatef(camera.viewAngle, 0, 0, 1);
    glScalef(camera.zoomScale, camera.zoomScale, camera.zoomScale);
    glTranslatef(camera.cameraTarget[0], camera.cameraTarget[1], camera.cameraTarget[2]);
}

void draw_base_plane()
{
    // the floor squares, in two greens so the grid reads
    glBegin(GL_QUADS);
    for (int i = 0; i < GRID_SIZE; ++i) {
        for (int j = 0; j < GRID_SIZE; ++j) {
            const float x = tile_corner(i), y = tile_corner(j);
            if ((i + j) % 2) glColor3ub(40, 110, 40);
            else glColor3ub(50, 125, 50);
            glVertex3f(x, y, 0);
            glVertex3f(x + TILE_SIZE, y, 0);
            glVertex3f(x + TILE_SIZE, y + TILE_SIZE, 0);
            glVertex3f(x, y + TILE_SIZE, 0);
        }
    }
    glEnd();
    glColor3ub(255, 255, 255);
}

void draw_tiles() {}

void draw_tee_marker() {}

void end_scene()
{
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
}

