// Finding the world point under the pointer without reading the depth buffer: a ray through
// the pointer's pixel is cast against the hole's drawn surfaces (floor, columns, ramps,
// railings, the cup, bumpers, oscillating blocks), front faces only, so it stops where the
// depth test would have left the nearest surface.
#pragma once

#include "hole/hole_grid.h"

struct PickRay {
    double origin[3];   // on the plane nearest the viewer (depth 1 of this view)
    double along[3];    // to the plane farthest away (depth 0); points are origin + t*along, t 0..1
};

// The ray through window point (winX, winY) (pixels, rows counted from the bottom) for the
// given model-view and projection matrices (column-major, as OpenGL keeps them) and viewport.
// False when the matrices cannot be inverted.
bool pick_ray(const double modelView[16], const double projection[16], const int viewport[4], double winX,
              double winY, PickRay& ray);

// The world point where the ray first meets a front face of what is drawn for grid, with the
// oscillating blocks at oscillation frame blockFrame; when it meets nothing, its far end (what
// an empty pixel's cleared depth un-projects to).
void cast_pick_ray(const HoleGrid& grid, int blockFrame, const PickRay& ray, double out[3]);

// True when a front face of what is drawn for grid (the blocks at blockFrame) hides the world
// point from a viewer far off along towardViewer (unit length), by more than a unit: the same
// faces and the same test as the pointer's ray. The cup's opening hides nothing below it.
bool hidden_from_viewer(const HoleGrid& grid, int blockFrame, const double point[3], const double towardViewer[3]);
