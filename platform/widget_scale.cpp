#include "platform/widget_scale.h"

#include <algorithm>
#include <cmath>

namespace {

double fitting_factor(int w, int h)
{
    const double fit = std::min(static_cast<double>(w) / UI_DESIGN_WIDTH, static_cast<double>(h) / UI_DESIGN_HEIGHT);
    return std::isfinite(fit) ? std::max(1.0, fit) : 1.0;
}

}  // namespace

double ui_scale_factor(int w, int h, UiScale setting)
{
    const double fit = fitting_factor(w, h);
    switch (setting) {
    case UiScale::Auto: return fit;
    case UiScale::Percent100: return 1.0;
    case UiScale::Percent150: return std::min(1.5, fit);
    case UiScale::Percent200: return std::min(2.0, fit);
    }
    return 1.0;
}

int pixels_to_ui(int pixels, double factor)
{
    if (!(factor >= 1.0)) return pixels;
    // The small allowance keeps a window of exactly factor times the design size from
    // losing its last unit to rounding.
    return static_cast<int>(std::floor(pixels / factor + 1e-9));
}

int ui_to_pixels(int units, double factor)
{
    if (!(factor >= 1.0)) return units;
    return static_cast<int>(std::lround(units * factor));
}

UiSize ui_size(int w, int h, double factor) { return {pixels_to_ui(w, factor), pixels_to_ui(h, factor)}; }

UiRect ui_rect_to_pixels(const UiRect& rect, double factor)
{
    const int x0 = ui_to_pixels(rect.x, factor), y0 = ui_to_pixels(rect.y, factor);
    return {x0, y0, ui_to_pixels(rect.x + rect.width, factor) - x0, ui_to_pixels(rect.y + rect.height, factor) - y0};
}

const char* ui_scale_label(UiScale setting)
{
    switch (setting) {
    case UiScale::Auto: return "UI Scale: Auto";
    case UiScale::Percent100: return "UI Scale: 100 %";
    case UiScale::Percent150: return "UI Scale: 150 %";
    case UiScale::Percent200: return "UI Scale: 200 %";
    }
    return "UI Scale: Auto";
}

UiScale next_ui_scale(UiScale setting)
{
    switch (setting) {
    case UiScale::Auto: return UiScale::Percent100;
    case UiScale::Percent100: return UiScale::Percent150;
    case UiScale::Percent150: return UiScale::Percent200;
    case UiScale::Percent200: return UiScale::Auto;
    }
    return UiScale::Auto;
}

std::string ui_scale_field(UiScale setting)
{
    switch (setting) {
    case UiScale::Auto: return "ua";
    case UiScale::Percent100: return "u100";
    case UiScale::Percent150: return "u150";
    case UiScale::Percent200: return "u200";
    }
    return "ua";
}

bool parse_ui_scale_field(const std::string& field, UiScale& setting)
{
    for (UiScale s : {UiScale::Auto, UiScale::Percent100, UiScale::Percent150, UiScale::Percent200}) {
        if (field == ui_scale_field(s)) {
            setting = s;
            return true;
        }
    }
    return false;
}
