// The permanent widgets, their places for the window size, the fonts, the widgets' scale
// and the title.
#include <GL/freeglut.h>
#include <plib/fnt.h>
#include <plib/pu.h>

#include <string>

#include "app/shell.h"
#include "app/editor_commands.h"
#include "game/ui/game_actions.h"
#include "platform/display_switch.h"
#include "platform/ui_dialogs.h"

// PLIB's own; puDisplay runs it first, and so does our scaled drawing: it deletes the widgets
// that puDeleteObject queued.
void puCleanUpJunk();

namespace {

// A texture font in two sizes of texture: the one made for the design size draws its text
// texel for pixel; the one made three times as large keeps text smooth when the widgets are
// drawn larger. The widgets keep a pointer to this font, so switching the texture needs no
// new widgets.
class ScalableFont : public fntFont {
public:
    fntTexFont sharp, large;
    bool largeLoaded = false;
    bool useLarge = false;

    fntTexFont& now() { return useLarge && largeLoaded ? large : sharp; }

    void getBBox(const char* text, float pointsize, float italic, float* left, float* right, float* bot,
                 float* top) override
    {
        now().getBBox(text, pointsize, italic, left, right, bot, top);
    }
    void putch(sgVec3 at, float pointsize, float italic, char c) override { now().putch(at, pointsize, italic, c); }
    void puts(sgVec3 at, float pointsize, float italic, const char* text) override
    {
        now().puts(at, pointsize, italic, text);
    }
    void begin() override { now().begin(); }
    void end() override { now().end(); }
    int load(const char* name, GLenum mag, GLenum min) override { return sharp.load(name, mag, min); }
    void setFixedPitch(int fixed) override
    {
        sharp.setFixedPitch(fixed);
        large.setFixedPitch(fixed);
    }
    int isFixedPitch() const override { return sharp.isFixedPitch(); }
    void setWidth(float width) override
    {
        sharp.setWidth(width);
        large.setWidth(width);
    }
    void setGap(float gap) override
    {
        sharp.setGap(gap);
        large.setGap(gap);
    }
    float getWidth() const override { return sharp.getWidth(); }
    float getGap() const override { return sharp.getGap(); }
    int hasGlyph(char c) const override { return sharp.hasGlyph(c); }
};

// Above this factor the large textures draw the clearer text.
constexpr double LARGE_TEXTURE_FACTOR = 1.25;

}  // namespace

// The widgets' texture fonts and the PUI fonts made of them.
struct ShellFonts {
    ScalableFont legendTexFont;   // fonts/helvetica_bold.txf (and _large)
    ScalableFont labelTexFont;    // fonts/default.txf (and _large)
    puFont legendFont;
    puFont labelFont;
    puFont titleFont;             // dialog titles and the score card
    puFont noteFont;              // the score card's note
    bool loaded = false;          // the texture fonts are in; else GLUT's bitmap fonts stand in
};

Session::Session() : displayBackend(make_glut_display()), fonts(std::make_unique<ShellFonts>()) {}

Session::~Session() = default;

namespace {

puButton* make_button(Session& s, int x0, int y0, int x1, int y1, const char* legend, puCallback callback)
{
    puButton* button = new puButton(x0, y0, x1, y1);
    button->setLegend(legend);
    button->setCallback(callback);
    button->setUserData(&s);
    return button;
}

}  // namespace

namespace {

// The widgets are drawn larger than their design size, and the texture fonts are in.
bool grown(const Session& s) { return s.fonts->loaded && ui_factor(s.window) > 1.0 + 1e-6; }

}  // namespace

void load_fonts(Session& s)
{
    ShellFonts& f = *s.fonts;
    const auto load = [&s](ScalableFont& font, const char* sharpName, const char* largeName) {
        const std::string sharpFile = data_file(s.paths, sharpName), largeFile = data_file(s.paths, largeName);
        font.largeLoaded = font.large.load(largeFile.c_str(), GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR) != 0;
        return font.sharp.load(sharpFile.c_str(), GL_NEAREST, GL_LINEAR_MIPMAP_LINEAR) != 0;
    };
    const bool legendLoaded = load(f.legendTexFont, "fonts/helvetica_bold.txf", "fonts/helvetica_bold_large.txf");
    const bool labelLoaded = load(f.labelTexFont, "fonts/default.txf", "fonts/default_large.txf");
    // Without our font files the widgets still need readable text: GLUT's bitmap fonts.
    if (legendLoaded) f.legendFont.initialize(&f.legendTexFont, 15, 0);
    else f.legendFont = PUFONT_HELVETICA_12;
    if (labelLoaded) {
        f.labelFont.initialize(&f.labelTexFont, 13, 0);
        f.titleFont.initialize(&f.labelTexFont, 18, 0);
        f.noteFont.initialize(&f.labelTexFont, 12, 0);
    } else {
        f.labelFont = PUFONT_HELVETICA_10;
        f.titleFont = PUFONT_HELVETICA_18;
        f.noteFont = PUFONT_HELVETICA_12;
    }
    f.loaded = labelLoaded;
    puSetDefaultFonts(f.legendFont, f.labelFont);
    choose_font_textures(s);
}

void choose_font_textures(Session& s)
{
    const double factor = ui_factor(s.window);
    s.fonts->legendTexFont.useLarge = factor > LARGE_TEXTURE_FACTOR;
    s.fonts->labelTexFont.useLarge = factor > LARGE_TEXTURE_FACTOR;
    // At their own size the titles keep GLUT's crisp Helvetica 18; only larger ones need
    // a font that grows.
    set_dialog_title_font(grown(s) ? s.fonts->titleFont : PUFONT_HELVETICA_18);
}

namespace {

// PUI's view of the window: its size in widget units.
void widget_window_size(int* width, int* height)
{
    UiSize size{glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
    if (activeSession) size = ui_window(activeSession->window);
    *width = size.width;
    *height = size.height;
}

int current_window() { return glutGetWindow(); }
void select_window(int window) { glutSetWindow(window); }
void reshape_window(int width, int height) { glutReshapeWindow(width, height); }

}  // namespace

void install_widget_scale() { puSetWindowFuncs(current_window, select_window, widget_window_size, reshape_window); }

void display_widgets(Session& s)
{
    // What puDisplay does, but over the whole window with the widgets' units stretched to it.
    puCleanUpJunk();
    const double factor = ui_factor(s.window);
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT | GL_LIGHTING_BIT | GL_VIEWPORT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, s.window.windowWidth, s.window.windowHeight);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, s.window.windowWidth / factor, 0, s.window.windowHeight / factor, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    puGetUltimateLiveInterface()->draw(0, 0);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

ScoreCardFonts score_card_fonts(const Session& s)
{
    // At their own size the screens keep GLUT's crisp bitmap text.
    if (!grown(s)) return {};
    return {&s.fonts->titleFont, &s.fonts->noteFont};
}

void apply_ui_scale(Session& s)
{
    choose_font_textures(s);
    place_permanent_widgets(s);
    const UiSize ui = ui_window(s.window);
    recentre_dialogs(s, ui.width, ui.height);
}

void create_permanent_widgets(Session& s)
{
    const UiSize size = ui_window(s.window);   // the widgets' units
    const int w = size.width, h = size.height;
    PermanentWidgets& ui = s.widgets;
    ui.hideMenuButton = make_button(s, 10, 10, 120, 40, "Hide Menu", hide_menu_pressed);
    ui.hideMenuButton->setValue(1);
    ui.toolLabel = new puFrame(w / 2 - 80, 10, w / 2 + 80, 40);
    ui.toolLabel->setLegend("Nothing");
    ui.toolLabel->setValue(1);
    ui.statusBox = new puFrame(w / 2 - 123, 10, w / 2 + 123, 40);
    ui.statusBox->setLegend("Zero Players");
    ui.statusBox->setValue(1);
    ui.puttButton = make_button(s, w - 100, h - 50, w - 10, h - 10, "Putt", putt_pressed);
    ui.puttButton->setValue(0);
    ui.zoomInButton = make_button(s, w - 60, 40, w - 40, 60, "+", zoom_in_pressed);
    ui.zoomOutButton = make_button(s, w - 60, 10, w - 40, 30, "-", zoom_out_pressed);
    ui.turnLeftButton = make_button(s, w - 90, 25, w - 70, 45, "<", turn_left_pressed);
    ui.turnRightButton = make_button(s, w - 30, 25, w - 10, 45, ">", turn_right_pressed);
    ui.toolLabel->hide();
    ui.puttButton->hide();
    ui.puttButton->makeReturnDefault(TRUE);
    create_menu_bars(s);
}

void place_permanent_widgets(Session& s)
{
    const UiSize size = ui_window(s.window);   // the widgets' units
    const int w = size.width, h = size.height;
    PermanentWidgets& ui = s.widgets;
    if (!ui.toolLabel) return;   // a reshape can come before the widgets exist
    ui.toolLabel->setPosition(w / 2 - 80, 10);
    ui.zoomInButton->setPosition(w - 60, 40);
    ui.zoomOutButton->setPosition(w - 60, 10);
    ui.turnLeftButton->setPosition(w - 90, 25);
    ui.turnRightButton->setPosition(w - 30, 25);
    ui.puttButton->setPosition(w - 100, h - 50);
    ui.statusBox->setPosition(w / 2 - 123, 10);
    // the menu bars hang from the top edge
    place_menu_bars(s, h);
}

void recentre_dialogs(Session& s, int windowWidth, int windowHeight)
{
    recentre_platform_dialogs(windowWidth, windowHeight);
    recentre_game_dialogs(s, windowWidth, windowHeight);
    recentre_net_lobby(s, windowWidth, windowHeight);
}

void set_window_title_now(Session& s, const char* title)
{
    const char* shown = marked_title(s, title);
    if (!s.window.fullScreen) glutSetWindowTitle(shown);
}

std::string current_file_title(Session& s)
{
    const std::string base = current_file_base_name(s, false);
    const std::string title = base.empty() ? std::string(NO_FILE_TITLE) : base;
    return editor_hole_changed(s) ? "*" + title : title;
}
