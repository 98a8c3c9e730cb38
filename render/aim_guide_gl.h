// The aim guide's dotted line, drawn in the scene's world units.
#pragma once

#include <cstddef>

// Dots every few units along the polyline of count points (x, y, z each), from the first on.
void draw_aim_guide(const double* xyz, std::size_t count);
