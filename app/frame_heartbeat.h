// The tests' watch on the game loop. With MG_FRAME_HEARTBEAT=FILE the game writes the
// pictures drawn and the ticks run so far ("PICTURES TICKS") into FILE about once a second,
// so a soak test can tell a hang and a hidden window's test that the game goes on. With
// MG_TICK_LOG=FILE it appends a line for every stroke struck, every rest, every hole begun and
// every hole over,
// with the tick it happened in and the steady clock's milliseconds ("rested 1234 5678"), so
// a test can compare the ticks and the times of two runs.
#pragma once

struct TickReport;

// Called once per pass of the game loop; does nothing unless the heartbeat is asked for.
void note_heartbeat(long pictures, long ticks);
// Called after every tick; does nothing unless the tick log is asked for.
void note_tick_report(const TickReport& report, long tick);
