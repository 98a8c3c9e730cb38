// The dialogs the menus open: the full-screen resolution, Pick Up Ball, Go To Hole, the score
// card and the leader board. The openers themselves are declared in game/game_actions.h.
#pragma once

// Lets the round flow open the score card between holes and at the end of the course.
void install_dialog_hooks();
