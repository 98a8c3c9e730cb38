// The game's application icon: a ball beside the cup with its flag, on the green.
#pragma once

#include "image.h"

// The icon drawn at size × size pixels (48, 64, 128, 256 are installed).
Image make_icon(int size);
