// How large the widgets, menus, dialogs, score card and their text are drawn. The widgets are
// laid out for a 600 x 450 window; a scale factor f draws that layout f times as large, so the
// widgets live in a window of (width / f) x (height / f) widget units.
#pragma once

#include <string>

enum class UiScale { Auto, Percent100, Percent150, Percent200 };

constexpr int UI_DESIGN_WIDTH = 600;
constexpr int UI_DESIGN_HEIGHT = 450;

// The factor for a window of w x h pixels. Auto grows with the window, so the text keeps its
// size relative to the window that the design size gives it; the fixed settings ask for
// their factor. Either way the factor never drops below 1, and never grows past the point
// where the design-size layout would no longer fit the window.
double ui_scale_factor(int w, int h, UiScale setting);

// The window in widget units for a window of w x h pixels.
struct UiSize {
    int width, height;
};
UiSize ui_size(int w, int h, double factor);

// A window pixel to widget units (either axis, origin kept) and back.
int pixels_to_ui(int pixels, double factor);
int ui_to_pixels(int units, double factor);

// A rectangle in widget units (x, y its lower left corner) as it lands on the window's pixels.
struct UiRect {
    int x, y, width, height;
};
UiRect ui_rect_to_pixels(const UiRect& rect, double factor);

// The Config menu's entry for the setting, e.g. "UI Scale: Auto", "UI Scale: 150 %".
const char* ui_scale_label(UiScale setting);
// The setting a click on that entry moves on to: Auto, 100 %, 150 %, 200 %, Auto...
UiScale next_ui_scale(UiScale setting);

// The setting's field in the settings file ("u100", "u150", "u200"; Auto is "ua"), and the
// setting a field names; false when the text names none.
std::string ui_scale_field(UiScale setting);
bool parse_ui_scale_field(const std::string& field, UiScale& setting);
