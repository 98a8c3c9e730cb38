// A test's watch on the frame loop: with MG_FRAME_HEARTBEAT=FILE the game writes the number
// of frames drawn so far into FILE about once a second, so a soak test can tell a hang.
#pragma once

// Called once per frame; does nothing unless MG_FRAME_HEARTBEAT is set.
void note_frame_heartbeat();
