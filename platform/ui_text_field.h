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

// Applies key (a character, 8 BackSpace or 127 Delete) to the text field that has the
// keyboard; false when none has it or the key is not one of those (PLIB then takes it).
bool type_into_text_field(int key);
