// The score card and leader board screens: flat drawings in window pixels with GLUT bitmap
// text, drawn over their dialogs after the widgets.
#include <GL/freeglut.h>
#include <GL/glu.h>
#include <plib/pu.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "hole/round_state.h"
#include "hole/course.h"
#include "hole/leader_board.h"
#include "render/score_card.h"
#include "render/score_card_gl.h"
#include "platform/widget_scale.h"
#include "render/textures.h"

namespace {

constexpr int LINE_HEIGHT = 18;   // pixels a newline moves the text down

void set_colour(const Rgb8& colour) { glColor3ub(colour.r, colour.g, colour.b); }

// The font the screen being drawn writes with (null: GLUT's bitmap font).
const puFont* textFont = nullptr;

// One line in the texture font: blended over the screen, its colour the current one.
void draw_font_line(const puFont& font, int x, int y, const std::string& line)
{
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const_cast<puFont&>(font).drawString(line.c_str(), x, y);
    glPopAttrib();
}

// Draws text from (x, y) in Helvetica 18; the k-th newline restarts at x, extraDrop + 18 k
// units lower. The colour must be set before, since the raster position takes it.
void draw_text(int x, int y, const std::string& text, int extraDrop = 0)
{
    if (textFont) {
        size_t start = 0;
        for (int line = 0; start <= text.size(); ++line) {
            const size_t end = std::min(text.find('\n', start), text.size());
            const int drop = line ? LINE_HEIGHT * line + extraDrop : 0;
            draw_font_line(*textFont, x, y - drop, text.substr(start, end - start));
            start = end + 1;
        }
        return;
    }
    glRasterPos2i(x, y);
    int line = 0;
    for (char c : text) {
        if (c == '\n') {
            ++line;
            glRasterPos2i(x, y - LINE_HEIGHT * line - extraDrop);
            continue;
        }
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, static_cast<unsigned char>(c));
    }
}

void draw_title(int w, int h, const Rgb8& colour)
{
    const RasterPoint at = title_point(w, h);
    set_colour(TITLE_SHADOW_COLOUR);
    draw_text(at.x + 1, at.y - 1, GAME_TITLE, 1);
    set_colour(colour);
    draw_text(at.x, at.y, GAME_TITLE);
}

void score_cell(int column, int row, const Rgb8& colour, const std::string& text, int w, int h)
{
    const RasterPoint at = score_cell_point(column, row, text, w, h);
    set_colour(colour);
    draw_text(at.x, at.y, score_cell_text(column, text));
}

void board_cell(int row, int column, const Rgb8& colour, const std::string& text, int w, int h)
{
    const RasterPoint at = board_cell_point(row, column, w, h);
    set_colour(colour);
    draw_text(at.x, at.y, text);
}

// A 2-D projection of w x h units over the window with an identity model-view, both pushed.
void begin_flat(double w, double h)
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, w, 0, h);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
}

void end_flat()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void background_quad(const ScreenRect& r)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(r.left, r.bottom);
    glTexCoord2f(1, 0);
    glVertex2i(r.right, r.bottom);
    glTexCoord2f(1, 1);
    glVertex2i(r.right, r.top);
    glTexCoord2f(0, 1);
    glVertex2i(r.left, r.top);
    glEnd();
}


// The layout's window in units for the window's pixels and the factor.
void layout_size(int& w, int& h, double factor)
{
    w = pixels_to_ui(w, factor);
    h = pixels_to_ui(h, factor);
}

}  // namespace

void draw_score_card(const TextureTable& textures, const GameState& round, const Course& course, int w, int h,
                     double factor, const ScoreCardFonts& fonts)
{
    begin_flat(w / std::max(1.0, factor), h / std::max(1.0, factor));
    layout_size(w, h, factor);
    textFont = fonts.text;
    const GLuint texture = texture_named(textures, "score_card");
    if (texture != 0) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    glColor3f(1, 1, 1);
    background_quad(overlay_rect(w, h));
    // bitmap text would pick up the texture
    glDisable(GL_TEXTURE_2D);
    draw_title(w, h, SCORE_CARD_TITLE_COLOUR);
    for (const CardCell& cell : score_card_cells(round, course))
        score_cell(cell.column, cell.row, CELL_COLOUR, cell.text, w, h);
    const std::string note = score_card_note(round);
    if (!note.empty()) {
        const RasterPoint at = score_card_note_point(w, h);
        set_colour(CELL_COLOUR);
        if (fonts.note) {
            draw_font_line(*fonts.note, at.x, at.y, note);
        } else {
            glRasterPos2i(at.x, at.y);
            for (char c : note) glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, static_cast<unsigned char>(c));
        }
    }
    end_flat();
    textFont = nullptr;
}

void draw_leader_board(const LeaderBoard& board, int holeCount, int w, int h, double factor,
                       const ScoreCardFonts& fonts)
{
    begin_flat(w / std::max(1.0, factor), h / std::max(1.0, factor));
    layout_size(w, h, factor);
    textFont = fonts.text;
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glColor3f(0.92f, 0.93f, 0.0f);
    background_quad(overlay_rect(w, h));
    draw_title(w, h, LEADER_BOARD_TITLE_COLOUR);
    for (const BoardCell& cell : leader_board_cells(board, holeCount))
        board_cell(cell.row, cell.column, CELL_COLOUR, cell.text, w, h);
    end_flat();
    textFont = nullptr;
}
