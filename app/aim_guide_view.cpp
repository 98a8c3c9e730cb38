// The aim guide: while a person aims with the guide switched on, each tick brings the path
// up to date (played again only when the aim changed) and marks the round as played with the
// guide; the picture draws the path the last tick left.
#include "app/shell.h"
#include "game/round/computer_turn.h"
#include "render/aim_guide_gl.h"

namespace {

bool guide_wanted(const Session& s)
{
    if (!s.window.aimGuideOn || s.aim.aimMode != AimMode::Aiming || s.aim.aimState == AimPhase::Struck) return false;
    const StrokeState& stroke = s.physics.stroke;
    return !stroke.swingActive && !stroke.strokeInFlight && !computer_aiming(s) && physics_ready(s.physics);
}

}  // namespace

void update_aim_guide(Session& s)
{
    if (!guide_wanted(s)) return;
    int slot = s.round.currentPlayer - 1;
    if (slot < 0 || slot >= MAX_PLAYERS) slot = 0;
    s.aimGuide.update(s.physics, slot, s.aim.aimAngle, s.aim.puttPower);
    if (s.round.playerCount > 0) s.round.aimGuideUsed = true;
}

void show_aim_guide(Session& s)
{
    if (!guide_wanted(s)) return;
    const auto& points = s.aimGuide.path().points;
    if (!points.empty()) draw_aim_guide(points.front().data(), points.size());
}
