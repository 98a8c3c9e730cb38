// The entry a step list shows after a press of one of its arrows: it stops at either end
// rather than jumping round, as a player counting presses expects.
#pragma once

// The entry after stepping step (+1 the next, -1 the previous) from current in a list of
// count entries; an empty list has none (-1), and a current entry out of range starts from
// the nearer end.
int stepped_choice(int current, int count, int step);
