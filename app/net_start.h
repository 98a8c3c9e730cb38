// A network game asked for on the command line (--host / --join).
#pragma once

#include "app/command_line.h"

struct Session;

// Hosts or joins as options ask, with the lobby in place of the start question. A problem
// is told over the start screen, which then starts as usual.
void start_net_from_command_line(Session& s, const NetOptions& options);
