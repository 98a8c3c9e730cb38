#include "game/round/round_tick.h"

#include "game/round/round_flow.h"
#include "game/round/session.h"
#include "physics/ball_step.h"

void hole_tick(GameSession& s)
{
    // A hole being edited keeps its tee to the editor until the tool is put down.
    if (!(s.hooks.editor_holds_tee && s.hooks.editor_holds_tee(s))) set_up_tee(s);
    tick_world(s.physics);
}

void replay_tick(GameSession& s)
{
    set_up_turn(s);
    hole_tick(s);
}
