// Keyboard, mouse and pointer input: PUI first, then the exit question, editor clicks,
// the Putt button and aiming.
#include <GL/freeglut.h>
#include <plib/pu.h>

#include "app/frame_steps.h"
#include "app/input.h"
#include "app/shell.h"
#include "app/window_state.h"
#include "editor/editor_state.h"
#include "editor/editor_tools.h"
#include "game/dialog_state.h"
#include "game/game_state.h"
#include "game/menus.h"
#include "platform/ui_dialogs.h"
#include "platform/ui_text_field.h"
#include "render/camera.h"

PointerState pointerState;

namespace {

constexpr int EDITOR_MENU_WIDTH = 141;
constexpr int PLAY_MENU_WIDTH = 219;
constexpr int MENU_BAR_HEIGHT = 26;

bool visible(puObject* object) { return object && object->isVisible(); }

bool any_screen_open()
{
    const DialogState& dialogs = dialogState;
    return dialogs.startScreenStep != 0 || gameState.scoreCardShown != 0 || dialogs.leaderBoardShown != 0 ||
           dialogs.pickUpDialogOpen != 0 || dialogs.confirmKind != 0 || dialogs.resolutionDialogOpen != 0 ||
           dialogs.goToHoleDialogOpen != 0;
}

bool any_dialog_open()
{
    const DialogState& dialogs = dialogState;
    return dialogs.startScreenStep != 0 || dialogs.pickUpDialogOpen != 0 || dialogs.goToHoleDialogOpen != 0 ||
           dialogs.leaderBoardShown != 0 || gameState.scoreCardShown != 0 || platform_dialog_open();
}

// A coordinate outside the window becomes the window's centre.
void keep_inside(int& x, int& y)
{
    const WindowState& window = windowState;
    if (x < 0 || x > window.windowWidth - 1) x = window.windowWidth / 2;
    if (y < 0 || y > window.windowHeight - 1) y = window.windowHeight / 2;
}

bool on_small_button(puObject* button, int x, int y, int h)
{
    int bx = 0, by = 0;
    button->getPosition(&bx, &by);
    return bx <= x && x <= bx + 20 && h - by - 20 <= y && y <= h - by;
}

}  // namespace

void on_keyboard(unsigned char key, int, int)
{
    if (!type_into_text_field(key)) {
        release_active_text_field_buffer();
        puKeyboard(key, PU_DOWN);
    }
    if (key == 27 && !any_screen_open()) {
        dialogState.confirmKind = CONFIRM_EXIT;
        message_box("Do you really wish to exit the program?");
    }
    glutPostRedisplay();
}

void on_special_key(int key, int, int)
{
    if (type_into_text_field(key + PU_KEY_GLUT_SPECIAL_OFFSET)) return;
    release_active_text_field_buffer();
    puKeyboard(key + PU_KEY_GLUT_SPECIAL_OFFSET, PU_DOWN);
}

void on_motion(int x, int y)
{
    PointerState& pointer = pointerState;
    puMouse(x, y);
    const int oldX = pointer.pointerX, oldY = pointer.pointerY;
    pointer.pointerX = x;
    pointer.pointerY = y;
    const bool overEditorBar = x >= 0 && x <= EDITOR_MENU_WIDTH && y >= 0 && y <= MENU_BAR_HEIGHT &&
                               visible(widgets.editorMenuBar);
    const bool overPlayBar = x >= 0 && x <= PLAY_MENU_WIDTH && y >= 0 && y <= MENU_BAR_HEIGHT &&
                             visible(widgets.playMenuBar);
    if (overEditorBar || overPlayBar) {
        pointer.pointerX = oldX;
        pointer.pointerY = oldY;
        pointer.pointerOverMenu = 1;
        return;
    }
    pointer.pointerOverMenu = 0;
    keep_inside(pointer.pointerX, pointer.pointerY);
}

void on_mouse(int button, int state, int x, int y)
{
    PointerState& pointer = pointerState;
    const PermanentWidgets& ui = widgets;
    // A press or release that lands on a widget (a menu entry, a button) is PUI's alone.
    const int onWidget = puMouse(button, state, x, y);
    if (pointer.swallowClick == 1) {
        pointer.swallowClick = 0;
        return;
    }
    if (onWidget) return;
    // While any dialog is open its buttons take the clicks: none may reach the hole, strike
    // a ball being aimed or edit a tile under the dialog.
    if (dialogState.confirmKind > 0 || dialogState.resolutionDialogOpen || any_dialog_open()) return;
    if (visible(ui.editorMenuBar) && ui.editorMenuBar->checkHit(button, state, x, windowState.windowHeight - y)) return;
    if (visible(ui.playMenuBar) && ui.playMenuBar->checkHit(button, state, x, windowState.windowHeight - y)) return;

    const int h = windowState.windowHeight;
    const int px = pointer.pointerX, py = pointer.pointerY;
    if (visible(ui.puttButton)) {
        int bx = 0, by = 0;
        ui.puttButton->getPosition(&bx, &by);
        if (bx <= px && px <= bx + 90 && h - by - 40 <= py && py <= h - by) return;
    }
    for (puObject* small : {static_cast<puObject*>(ui.zoomInButton), static_cast<puObject*>(ui.zoomOutButton),
                            static_cast<puObject*>(ui.turnLeftButton), static_cast<puObject*>(ui.turnRightButton)}) {
        if (on_small_button(small, px, py, h)) return;
    }
    if (gameState.scoreCardShown && score_card_close_hit(px, py, h)) return;
    const bool overEditor = ((0 <= px && px <= EDITOR_MENU_WIDTH) || pointer.pointerOverMenu) &&
                            ((0 <= py && py <= MENU_BAR_HEIGHT) || pointer.pointerOverMenu) && visible(ui.editorMenuBar);
    const bool overPlay = ((0 <= px && px <= PLAY_MENU_WIDTH) || pointer.pointerOverMenu) &&
                          ((0 <= py && py <= MENU_BAR_HEIGHT) || pointer.pointerOverMenu) && visible(ui.playMenuBar);
    if (overEditor || overPlay) return;

    pointer.pointerX = x;
    pointer.pointerY = y;
    if (10 <= x && x <= 120 && h - 40 <= y && y <= h - 10) return;
    keep_inside(pointer.pointerX, pointer.pointerY);

    AimInput& aim = aimInput;
    if (state != GLUT_DOWN) return;
    if (aim.aimMode == 0) {
        if (button == GLUT_LEFT_BUTTON) press_editor_button(CLICK_PLACE, pointer.pointerX, pointer.pointerY);
        if (button == GLUT_RIGHT_BUTTON) press_editor_button(CLICK_REMOVE, pointer.pointerX, pointer.pointerY);
    } else if (aim.aimMode == 1) {
        if (button == GLUT_LEFT_BUTTON) {
            aim_input(AIM_STRIKE);
            gameState.puttRequested = 0;
        } else if (button == GLUT_RIGHT_BUTTON && aim.aimState != 2) {
            aim.meterFlipped = !aim.meterFlipped;
        }
    }
}

void hide_menu_pressed(puObject* button)
{
    puMenuBar* bar = gameState.playerCount > 0 ? widgets.playMenuBar : widgets.editorMenuBar;
    if (button->getIntegerValue() == 1) {
        bar->reveal();
        button->setLegend("Hide Menu");
    } else {
        bar->hide();
        button->setLegend("Show Menu");
    }
    pointerState.swallowClick = 1;
}

void putt_pressed(puObject*)
{
    aim_input(AIM_START);
    if (widgets.puttButton->isVisible()) widgets.puttButton->hide();
    gameState.puttRequested = 1;
}

void zoom_in_pressed(puObject* button)
{
    button->setValue(0);
    zoom_in(cameraState);
}

void zoom_out_pressed(puObject* button)
{
    button->setValue(0);
    zoom_out(cameraState);
}

void turn_left_pressed(puObject* button)
{
    button->setValue(0);
    turn_left(cameraState);
}

void turn_right_pressed(puObject* button)
{
    button->setValue(0);
    turn_right(cameraState);
}

void aim_input(int code)
{
    AimInput& aim = aimInput;
    if (code == AIM_START) {
        if (aim.aimClicks == 0) {
            rebuild_hole_geometry();
            aim.aimMode = 1;
            aim.aimState = 1;
        } else {
            aim.aimMode = 0;
        }
        aim.aimClicks += 1;
    }
    if (aim.aimClicks > 1) {   // an aim was in progress: this cancels it
        aim.aimClicks = 0;
        aim.puttPower = 0;
        aim.struckPower = 0;
        aim.aimState = 0;
    }
    if (aim.aimClicks != 1) return;
    while (aim.aimAngle > 180.0f) aim.aimAngle -= 360.0f;
    while (aim.aimAngle < -180.0f) aim.aimAngle += 360.0f;
    if (aim.puttPower < 0) aim.puttPower = 0;
    if (aim.puttPower > MAX_POWER) aim.puttPower = MAX_POWER;
    if (code == AIM_STRIKE) {
        aim.struckPower = aim.puttPower;
        if (aim.puttPower == 0) aim.aimClicks = 0;
        aim.aimState = 2;
    }
}

void update_putt_button()
{
    puButton* putt = widgets.puttButton;
    if (aimInput.aimState == 2 || gameState.ballReady != 1 || gameState.puttRequested == 1) {
        if (putt->isVisible()) putt->hide();
    } else if (!putt->isVisible()) {
        putt->reveal();
    }
}

void scroll_at_window_edge()
{
    const PointerState& pointer = pointerState;
    const int w = windowState.windowWidth, h = windowState.windowHeight;
    if (!pointer_at_edge(pointer.pointerX, pointer.pointerY, w, h)) return;
    AimInput& aim = aimInput;
    if (aim.aimMode == 1 && aim.aimState != 1 && aim.aimState != 2) {
        aim_input(AIM_START);
        gameState.puttRequested = 0;
    }
    scroll_camera(cameraState, pointer.pointerX, pointer.pointerY, w, h);
}
