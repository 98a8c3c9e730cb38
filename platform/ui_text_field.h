// Typing into text fields. PLIB's text field keeps the text it shows in a buffer made with
// new[] and frees it with plain delete (in setValue and on keys), which the sanitizers rightly
// report. The game frees that buffer itself, correctly, before PLIB would, and makes the
// edits of changing keys itself.
#pragma once

class puInput;

// Sets the text of field, freeing PLIB's shown-text buffer first.
void set_text_field(puInput* field, const char* text);
// Frees the shown-text buffer of the text field that has the keyboard, if any; call before
// handing PLIB a key.
void release_active_text_field_buffer();

// Applies key to the text field that has the keyboard: a character, 8 BackSpace, 127 Delete,
// Enter (ends the typing and calls the field's callback), Escape (ends it), and the cursor
// keys as special keys (key + PU_KEY_GLUT_SPECIAL_OFFSET); other keys do nothing there.
// False when no field has the keyboard (PLIB then takes the key).
bool type_into_text_field(int key);
