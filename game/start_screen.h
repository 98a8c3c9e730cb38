// The start screen, run by the frame driver while dialogState.startScreenStep > 0.
#pragma once

void start_screen_step();
// Keeps the start screen's dialogs centred.
void recentre_start_screen(int windowWidth, int windowHeight);
