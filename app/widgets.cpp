// The permanent widgets, their places for the window size, the fonts and the title.
#include <GL/freeglut.h>
#include <plib/fnt.h>
#include <plib/pu.h>

#include <string>

#include "app/frame_steps.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "game/game_actions.h"
#include "game/menus.h"
#include "hole/hole_file.h"
#include "platform/fs.h"
#include "platform/ui_dialogs.h"
#include "platform/paths.h"

PermanentWidgets widgets;

namespace {

fntTexFont legendTexFont;   // fonts/helvetica_bold.txf
fntTexFont labelTexFont;    // fonts/default.txf
puFont legendFont;
puFont labelFont;

puButton* make_button(int x0, int y0, int x1, int y1, const char* legend, puCallback callback)
{
    puButton* button = new puButton(x0, y0, x1, y1);
    button->setLegend(legend);
    button->setCallback(callback);
    return button;
}

}  // namespace

void load_fonts()
{
    const bool legendLoaded = legendTexFont.load(data_file("fonts/helvetica_bold.txf").c_str(), GL_NEAREST, GL_LINEAR_MIPMAP_LINEAR);
    const bool labelLoaded = labelTexFont.load(data_file("fonts/default.txf").c_str(), GL_NEAREST, GL_LINEAR_MIPMAP_LINEAR);
    // Without our font files the widgets still need readable text: GLUT's bitmap fonts.
    if (legendLoaded) legendFont.initialize(&legendTexFont, 15, 0);
    else legendFont = PUFONT_HELVETICA_12;
    if (labelLoaded) labelFont.initialize(&labelTexFont, 13, 0);
    else labelFont = PUFONT_HELVETICA_10;
    puSetDefaultFonts(legendFont, labelFont);
}

void create_permanent_widgets()
{
    const int w = windowState.windowWidth, h = windowState.windowHeight;
    PermanentWidgets& ui = widgets;
    ui.hideMenuButton = make_button(10, 10, 120, 40, "Hide Menu", hide_menu_pressed);
    ui.hideMenuButton->setValue(1);
    ui.toolLabel = new puFrame(w / 2 - 80, 10, w / 2 + 80, 40);
    ui.toolLabel->setLegend("Nothing");
    ui.toolLabel->setValue(1);
    ui.statusBox = new puFrame(w / 2 - 123, 10, w / 2 + 123, 40);
    ui.statusBox->setLegend("Zero Players");
    ui.statusBox->setValue(1);
    ui.puttButton = make_button(w - 100, h - 50, w - 10, h - 10, "Putt", putt_pressed);
    ui.puttButton->setValue(0);
    ui.zoomInButton = make_button(w - 60, 40, w - 40, 60, "+", zoom_in_pressed);
    ui.zoomOutButton = make_button(w - 60, 10, w - 40, 30, "-", zoom_out_pressed);
    ui.turnLeftButton = make_button(w - 90, 25, w - 70, 45, "<", turn_left_pressed);
    ui.turnRightButton = make_button(w - 30, 25, w - 10, 45, ">", turn_right_pressed);
    ui.toolLabel->hide();
    ui.puttButton->hide();
    ui.puttButton->makeReturnDefault(TRUE);
    create_menu_bars();
}

void place_permanent_widgets()
{
    const int w = windowState.windowWidth, h = windowState.windowHeight;
    PermanentWidgets& ui = widgets;
    if (!ui.toolLabel) return;   // a reshape can come before the widgets exist
    ui.toolLabel->setPosition(w / 2 - 80, 10);
    ui.zoomInButton->setPosition(w - 60, 40);
    ui.zoomOutButton->setPosition(w - 60, 10);
    ui.turnLeftButton->setPosition(w - 90, 25);
    ui.turnRightButton->setPosition(w - 30, 25);
    ui.puttButton->setPosition(w - 100, h - 50);
    ui.statusBox->setPosition(w / 2 - 123, 10);
    // the menu bars hang from the top edge
    place_menu_bars(h);
}

void recentre_dialogs(int windowWidth, int windowHeight)
{
    recentre_platform_dialogs(windowWidth, windowHeight);
    recentre_game_dialogs(windowWidth, windowHeight);
}

void set_window_title(const char* title)
{
    if (!windowState.fullScreen) glutSetWindowTitle(title);
}

const char* current_file_base_name(bool setTitle)
{
    static std::string baseName;
    baseName = currentFileName.empty() ? std::string() : base_name(currentFileName);
    if (setTitle) set_window_title(baseName.c_str());
    return baseName.c_str();
}
