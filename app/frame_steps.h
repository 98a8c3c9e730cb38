// The steps of a frame that other subsystems carry out, in the order the frame driver
// calls them. Each is a plain call so the frame reads as its sequence.
#pragma once

// display_frame
void scroll_at_window_edge();   // edge scrolling and cancelling an aim at the edge
void draw_overlay_screens();    // the score card and leader board screens

// draw_scene
void editor_warp_housekeeping();// an unfinished warp pair abandoned
void apply_editor_click();      // the click recorded in the last frame, applied to the grid
void pick_pointer();            // the ground point under the pointer
void draw_tool_preview();       // what the current tool would do there
void compute_aim();             // aim angle and offsets from the pointer
void run_ball_step(bool draw);  // one ball step; draw balls, putter and meter when asked
void update_putt_button();      // show or hide "Putt"
void advance_animation_counters();
void load_sound_effects();      // the effects and the music, once sound is wanted

// start-up and exit path
void start_physics();
void shut_down_physics();
void remove_unpacked_course();

// Keeps every open dialog centred after a resize.
void recentre_dialogs(int windowWidth, int windowHeight);
