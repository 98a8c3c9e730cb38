// Marks for what the camera cannot see while a putt is aimed: the ball and the cup shown over
// whatever stands in front of them.
#pragma once

struct Renderer;

// The ball drawn again over whatever hides it, ringed in white with a dark rim (colour index
// 1..11 and pose as draw_ball takes them).
void draw_ball_seen_through(const Renderer& r, int colour, const double pos[3], const double rot[12], double radius);
// The cup's opening on the tile with corner (x, y) and top at height z, outlined the same way
// over whatever hides it.
void draw_cup_seen_through(double x, double y, double z);
