// The permanent widgets, their places for the window size, the fonts and the title.
#include <GL/freeglut.h>
#include <plib/fnt.h>
#include <plib/pu.h>

#include <string>

#include "app/shell.h"
#include "app/editor_commands.h"
#include "game/ui/game_actions.h"
#include "platform/display_switch.h"
#include "platform/ui_dialogs.h"

// The widgets' texture fonts and the PUI fonts made of them.
struct ShellFonts {
    fntTexFont legendTexFont;   // fonts/helvetica_bold.txf
    fntTexFont labelTexFont;    // fonts/default.txf
    puFont legendFont;
    puFont labelFont;
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

void load_fonts(Session& s)
{
    ShellFonts& f = *s.fonts;
    const std::string legendFile = data_file(s.paths, "fonts/helvetica_bold.txf");
    const std::string labelFile = data_file(s.paths, "fonts/default.txf");
    const bool legendLoaded = f.legendTexFont.load(legendFile.c_str(), GL_NEAREST, GL_LINEAR_MIPMAP_LINEAR);
    const bool labelLoaded = f.labelTexFont.load(labelFile.c_str(), GL_NEAREST, GL_LINEAR_MIPMAP_LINEAR);
    // Without our font files the widgets still need readable text: GLUT's bitmap fonts.
    if (legendLoaded) f.legendFont.initialize(&f.legendTexFont, 15, 0);
    else f.legendFont = PUFONT_HELVETICA_12;
    if (labelLoaded) f.labelFont.initialize(&f.labelTexFont, 13, 0);
    else f.labelFont = PUFONT_HELVETICA_10;
    puSetDefaultFonts(f.legendFont, f.labelFont);
}

void create_permanent_widgets(Session& s)
{
    const int w = s.window.windowWidth, h = s.window.windowHeight;
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
    const int w = s.window.windowWidth, h = s.window.windowHeight;
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
