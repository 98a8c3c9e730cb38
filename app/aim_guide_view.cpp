// The aim guide in the frame: while a person aims with the guide switched on, the path is
// brought up to date (played again only when the aim changed) and drawn, and the round is
// marked as played with the guide.
#include "app/shell.h"
#include "game/round/computer_turn.h"
#include "render/aim_guide_gl.h"

void show_aim_guide(Session& s)
{
    if (!s.window.aimGuideOn || s.aim.aimMode != AimMode::Aiming || s.aim.aimState == AimPhase::Struck) return;
    const StrokeState& stroke = s.physics.stroke;
    if (stroke.swingActive || stroke.strokeInFlight || computer_aiming(s) || !physics_ready(s.physics)) return;
    int slot = s.round.currentPlayer - 1;
    if (slot < 0 || slot >= MAX_PLAYERS) slot = 0;
    s.aimGuide.update(s.physics, slot, s.aim.aimAngle, s.aim.puttPower);
    if (s.round.playerCount > 0) s.round.aimGuideUsed = true;
    const auto& points = s.aimGuide.path().points;
    if (!points.empty()) draw_aim_guide(points.front().data(), points.size());
}
