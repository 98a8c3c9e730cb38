// Keyboard, mouse and pointer input: PUI first, then the exit question, editor clicks,
// the Putt button and aiming.
#include <GL/freeglut.h>
#include <plib/pu.h>

#include "app/editor_commands.h"
#include "app/shell.h"
#include "editor/editor_tools.h"
#include "game/round/round_events.h"
#include "game/ui/game_actions.h"
#include "physics/physics.h"
#include "platform/ui_dialogs.h"
#include "platform/ui_text_field.h"

namespace {

constexpr int EDITOR_MENU_WIDTH = 141;
constexpr int PLAY_MENU_WIDTH = 219;
constexpr int MENU_BAR_HEIGHT = 26;

bool visible(puObject* object) { return object && object->isVisible(); }

bool any_screen_open(const Session& s)
{
    const DialogState& dialogs = s.dialogs;
    return dialogs.startScreenStep != StartStep::None || s.round.scoreCardShown || dialogs.leaderBoardShown ||
           dialogs.pickUpDialogOpen || dialogs.confirmKind != ConfirmKind::None || dialogs.resolutionDialogOpen ||
           dialogs.goToHoleDialogOpen;
}

bool any_dialog_open(const Session& s)
{
    const DialogState& dialogs = s.dialogs;
    return dialogs.startScreenStep != StartStep::None || dialogs.pickUpDialogOpen || dialogs.goToHoleDialogOpen ||
           dialogs.leaderBoardShown || s.round.scoreCardShown || platform_dialog_open();
}

// A question of the message box is open (the resolution dialog is not one).
bool question_open(const Session& s)
{
    return s.dialogs.confirmKind != ConfirmKind::None && s.dialogs.confirmKind != ConfirmKind::Resolution;
}

Session& session_of(puObject* object) { return *static_cast<Session*>(object->getUserData()); }

// A coordinate outside the window becomes the window's centre.
void keep_inside(const Session& s, int& x, int& y)
{
    const WindowState& window = s.window;
    if (x < 0 || x > window.windowWidth - 1) x = window.windowWidth / 2;
    if (y < 0 || y > window.windowHeight - 1) y = window.windowHeight / 2;
}

bool on_small_button(puObject* button, int x, int y, int h)
{
    int bx = 0, by = 0;
    button->getPosition(&bx, &by);
    return bx <= x && x <= bx + 20 && h - by - 20 <= y && y <= h - by;
}

// A press on the title of a menu that is open closes that menu (PUI would open it again).
// x and y in widget units, y up; true when a menu was closed.
bool close_menu_by_its_title(puMenuBar* bar, int x, int y)
{
    if (!visible(bar)) return false;
    int bx = 0, by = 0;
    bar->getPosition(&bx, &by);
    // The bar holds each title followed by its menu.
    puObject* title = nullptr;
    for (puObject* child = bar->getFirstChild(); child; child = child->getNextObject()) {
        if (!(child->getType() & PUCLASS_POPUPMENU)) {
            title = child;
            continue;
        }
        if (title && child->isVisible() && title->isHit(x - bx, y - by)) {
            child->hide();
            title->clrValue();
            return true;
        }
        title = nullptr;
    }
    return false;
}

}  // namespace

void on_keyboard(unsigned char key, int, int)
{
    Session& s = *activeSession;
    if (!type_into_text_field(key)) {
        if (editor_shortcut(s, key, glutGetModifiers())) {
            glutPostRedisplay();
            return;
        }
        release_active_text_field_buffer();
        puKeyboard(key, PU_DOWN);
    }
    // Escape takes back an aim first; only with nothing aimed does it ask to leave. On the
    // start question it asks as well (the question stays when the answer is No).
    const bool onStartQuestion = s.dialogs.startScreenStep == StartStep::QuestionShown && s.startScreen.question;
    if (key == 27 && !platform_dialog_open()) {
        if (onStartQuestion) ask_exit(s);
        else if (!any_screen_open(s) && !cancel_aim(s)) ask_exit(s);
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
    Session& s = *activeSession;
    PointerState& pointer = s.pointer;
    // The widgets see the pointer in their own units; the aim and the view in pixels.
    const double factor = ui_factor(s.window);
    const int ux = pixels_to_ui(x, factor), uy = pixels_to_ui(y, factor);
    puMouse(ux, uy);
    const int oldX = pointer.pointerX, oldY = pointer.pointerY;
    pointer.pointerX = x;
    pointer.pointerY = y;
    const bool overEditorBar = ux >= 0 && ux <= EDITOR_MENU_WIDTH && uy >= 0 && uy <= MENU_BAR_HEIGHT &&
                               visible(s.widgets.editorMenuBar);
    const bool overPlayBar = ux >= 0 && ux <= PLAY_MENU_WIDTH && uy >= 0 && uy <= MENU_BAR_HEIGHT &&
                             visible(s.widgets.playMenuBar);
    if (overEditorBar || overPlayBar) {
        pointer.pointerX = oldX;
        pointer.pointerY = oldY;
        pointer.pointerOverMenu = true;
        return;
    }
    pointer.pointerOverMenu = false;
    keep_inside(s, pointer.pointerX, pointer.pointerY);
}

void on_mouse(int button, int state, int x, int y)
{
    Session& s = *activeSession;
    PointerState& pointer = s.pointer;
    const PermanentWidgets& ui = s.widgets;
    if (wheel_event(s, button, state, x, y)) return;
    // The widgets' places are in their own units: the pointer is measured in them against
    // the widgets, and in pixels for the aim and the editor.
    const double factor = ui_factor(s.window);
    const int ux = pixels_to_ui(x, factor), uy = pixels_to_ui(y, factor);
    const int uh = ui_window(s.window).height;
    if (pointer.swallowRelease && state == GLUT_UP) {
        pointer.swallowRelease = false;
        return;
    }
    if (state == GLUT_DOWN && button == GLUT_LEFT_BUTTON &&
        (close_menu_by_its_title(ui.editorMenuBar, ux, uh - uy) ||
         close_menu_by_its_title(ui.playMenuBar, ux, uh - uy))) {
        pointer.swallowRelease = true;   // the release belongs to this press
        return;
    }
    // Opening a menu drops an aim: the click that picks an entry must not be taken for the
    // stroke, nor the next one after the menu closes.
    if (state == GLUT_DOWN && uy >= 0 && uy <= MENU_BAR_HEIGHT &&
        ((visible(ui.editorMenuBar) && ux >= 0 && ux <= EDITOR_MENU_WIDTH) ||
         (visible(ui.playMenuBar) && ux >= 0 && ux <= PLAY_MENU_WIDTH)))
        cancel_aim(s);
    // A press or release that lands on a widget (a menu entry, a button) is PUI's alone.
    const int onWidget = puMouse(button, state, ux, uy);
    if (pointer.swallowClick) {
        pointer.swallowClick = false;
        return;
    }
    if (onWidget) return;
    // While any dialog is open its buttons take the clicks: none may reach the hole, strike
    // a ball being aimed or edit a tile under the dialog.
    if (question_open(s) || s.dialogs.resolutionDialogOpen || any_dialog_open(s)) return;
    const int h = uh;
    if (visible(ui.editorMenuBar) && ui.editorMenuBar->checkHit(button, state, ux, h - uy)) return;
    if (visible(ui.playMenuBar) && ui.playMenuBar->checkHit(button, state, ux, h - uy)) return;

    const int px = pixels_to_ui(pointer.pointerX, factor), py = pixels_to_ui(pointer.pointerY, factor);
    if (visible(ui.puttButton)) {
        int bx = 0, by = 0;
        ui.puttButton->getPosition(&bx, &by);
        if (bx <= px && px <= bx + 90 && h - by - 40 <= py && py <= h - by) return;
    }
    for (puObject* small : {static_cast<puObject*>(ui.zoomInButton), static_cast<puObject*>(ui.zoomOutButton),
                            static_cast<puObject*>(ui.turnLeftButton), static_cast<puObject*>(ui.turnRightButton)}) {
        if (on_small_button(small, px, py, h)) return;
    }
    if (s.round.scoreCardShown && score_card_close_hit(s, px, py, h)) return;
    const bool overEditor = ((0 <= px && px <= EDITOR_MENU_WIDTH) || pointer.pointerOverMenu) &&
                            ((0 <= py && py <= MENU_BAR_HEIGHT) || pointer.pointerOverMenu) && visible(ui.editorMenuBar);
    const bool overPlay = ((0 <= px && px <= PLAY_MENU_WIDTH) || pointer.pointerOverMenu) &&
                          ((0 <= py && py <= MENU_BAR_HEIGHT) || pointer.pointerOverMenu) && visible(ui.playMenuBar);
    if (overEditor || overPlay) return;

    pointer.pointerX = x;
    pointer.pointerY = y;
    if (10 <= ux && ux <= 120 && h - 40 <= uy && uy <= h - 10) return;
    keep_inside(s, pointer.pointerX, pointer.pointerY);

    AimInput& aim = s.aim;
    if (state != GLUT_DOWN) return;
    if (aim.aimMode == AimMode::Off) {
        if (button == GLUT_LEFT_BUTTON) press_editor_button(s.editor, Click::Place, pointer.pointerX, pointer.pointerY);
        if (button == GLUT_RIGHT_BUTTON) press_editor_button(s.editor, Click::Remove, pointer.pointerX, pointer.pointerY);
    } else if (aim.aimMode == AimMode::Aiming) {
        if (button == GLUT_LEFT_BUTTON) {
            aim_input(s, AimCode::Strike);
            s.round.puttRequested = false;
        } else if (button == GLUT_RIGHT_BUTTON) {
            cancel_aim(s);
        }
    }
}

void hide_menu_pressed(puObject* button)
{
    Session& s = session_of(button);
    puMenuBar* bar = s.round.playerCount > 0 ? s.widgets.playMenuBar : s.widgets.editorMenuBar;
    if (button->getIntegerValue() == 1) {
        bar->reveal();
        button->setLegend("Hide Menu");
    } else {
        bar->hide();
        button->setLegend("Show Menu");
    }
    s.pointer.swallowClick = true;
}

void putt_pressed(puObject* button)
{
    Session& s = session_of(button);
    aim_input(s, AimCode::Start);
    if (s.widgets.puttButton->isVisible()) s.widgets.puttButton->hide();
    s.round.puttRequested = true;
}

void zoom_in_pressed(puObject* button)
{
    button->setValue(0);
    zoom_in(session_of(button).camera);
}

void zoom_out_pressed(puObject* button)
{
    button->setValue(0);
    zoom_out(session_of(button).camera);
}

void turn_left_pressed(puObject* button)
{
    button->setValue(0);
    turn_left(session_of(button).camera);
}

void turn_right_pressed(puObject* button)
{
    button->setValue(0);
    turn_right(session_of(button).camera);
}

void aim_input(Session& s, AimCode code)
{
    if (computer_on_turn(s) || net_remote_on_turn(s)) return;   // the computer, or another machine, aims
    if (s.roundLog.replaying) return;   // nothing strikes a ball during Replay Last Putt
    AimInput& aim = s.aim;
    // A Start while an aim is in progress gives that aim up.
    if (code == AimCode::Start) submit(s, aim_event(aim.aimClicks == 0 ? 1 : 0), EventSource::Person);
    if (aim.aimClicks != 1) return;
    while (aim.aimAngle > 180.0f) aim.aimAngle -= 360.0f;
    while (aim.aimAngle < -180.0f) aim.aimAngle += 360.0f;
    if (aim.puttPower < 0) aim.puttPower = 0;
    if (aim.puttPower > MAX_POWER) aim.puttPower = MAX_POWER;
    if (code == AimCode::Strike) submit(s, strike_now(), EventSource::Person);
}

bool cancel_aim(Session& s)
{
    const AimInput& aim = s.aim;
    if (aim.aimMode != AimMode::Aiming || aim.aimState == AimPhase::Struck || aim.aimClicks != 1) return false;
    if (computer_on_turn(s) || net_remote_on_turn(s) || s.roundLog.replaying) return false;
    aim_input(s, AimCode::Start);   // a second Start is the cancel
    s.round.puttRequested = false;
    return true;
}

void drop_aim_under_dialog(Session& s)
{
    if (question_open(s) || s.dialogs.resolutionDialogOpen || any_dialog_open(s)) cancel_aim(s);
}

void update_putt_button(Session& s)
{
    puButton* putt = s.widgets.puttButton;
    if (s.aim.aimState == AimPhase::Struck || !s.round.ballReady || s.round.puttRequested || computer_on_turn(s) ||
        net_remote_on_turn(s)) {
        if (putt->isVisible()) putt->hide();
    } else if (!putt->isVisible()) {
        putt->reveal();
    }
}

void scroll_at_window_edge(Session& s)
{
    const PointerState& pointer = s.pointer;
    const int w = s.window.windowWidth, h = s.window.windowHeight;
    if (!pointer_at_edge(pointer.pointerX, pointer.pointerY, w, h)) return;
    AimInput& aim = s.aim;
    if (aim.aimMode == AimMode::Aiming && aim.aimState == AimPhase::Idle) {
        aim_input(s, AimCode::Start);
        s.round.puttRequested = false;
    }
    scroll_camera(s.camera, pointer.pointerX, pointer.pointerY, w, h);
}
