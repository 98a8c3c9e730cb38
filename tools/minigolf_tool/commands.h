// Commands of minigolf-tool. Each takes the arguments after its own name and returns the
// process exit status.
#pragma once

int cmd_hole(int argc, char** argv);       // hole info | hole normalize
int cmd_simulate(int argc, char** argv);   // simulate HOLE.top --angle --power ...
int cmd_course(int argc, char** argv);     // course pack | course info
int cmd_sweep(int argc, char** argv);      // sweep [--generated] [HOLE.top ...]
int cmd_round(int argc, char** argv);      // round FILE.cor --seats expert,club,novice [--seed S]
int cmd_hole_par(int argc, char** argv);   // hole par FILE.top [--games N] [--seed S]
