#include "platform/ui_text_field.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <GL/freeglut.h>
#include <plib/pu.h>

namespace {

// PLIB's protected buffer, reached the one lawful way from outside: a member pointer taken
// in a derived class.
struct ShownText : puInput {
    static constexpr char* puInputBase::*buffer = &ShownText::displayed_text;
};

void release_buffer(puInput* field)
{
    char*& shown = field->*ShownText::buffer;
    delete[] shown;
    shown = nullptr;
}

bool takes_keys(puObject* object)
{
    if (!object || !(object->getType() & PUCLASS_INPUT)) return false;
    puInput* field = static_cast<puInput*>(object);
    return field->isAcceptingInput() && field->isVisible() && field->isActive() && !field->inputDisabled();
}

// A field takes keys whenever it accepts input, whether or not it is PLIB's active widget (a
// dialog may hand it the keyboard with acceptInput); PLIB offers every key to all of them.
puInput* find_field_taking_keys(puObject* object, int depth)
{
    for (; object && depth < 16; object = object->getNextObject()) {
        if (takes_keys(object)) return static_cast<puInput*>(object);
        if ((object->getType() & PUCLASS_GROUP) && object->isVisible()) {
            if (puInput* inner = find_field_taking_keys(static_cast<puGroup*>(object)->getFirstChild(), depth + 1)) return inner;
        }
    }
    return nullptr;
}

puInput* active_text_field()
{
    puObject* active = puActiveWidget();
    if (takes_keys(active)) return static_cast<puInput*>(active);
    puInterface* base = puGetBaseLiveInterface();
    return base ? find_field_taking_keys(base->getFirstChild(), 0) : nullptr;
}

}  // namespace

void set_text_field(puInput* field, const char* text)
{
    release_buffer(field);
    field->setValue(text);
}

void release_active_text_field_buffer()
{
    if (puInput* field = active_text_field()) release_buffer(field);
}

bool type_into_text_field(int key)
{
    puInput* field = active_text_field();
    if (!field) return false;

    const char* value = field->getStringValue();
    std::string text = value ? value : "";
    const int length = static_cast<int>(text.size());
    int cursor = std::clamp(field->getCursor(), 0, length);
    int start = 0, end = 0;
    field->getSelectRegion(&start, &end);
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    if (start > end) std::swap(start, end);

    const bool character = key >= ' ' && key < 127;
    if (key == '\r' || key == '\n') {
        // Enter ends the typing and reports the text, as PLIB does.
        field->rejectInput();
        field->invokeCallback();
        return true;
    }
    if (key == 27) {
        field->rejectInput();
        return true;
    }
    if (key >= PU_KEY_GLUT_SPECIAL_OFFSET) {
        // The cursor keys; the others change nothing in a one-line field.
        switch (key - PU_KEY_GLUT_SPECIAL_OFFSET) {
        case GLUT_KEY_LEFT: cursor = std::max(cursor - 1, 0); break;
        case GLUT_KEY_RIGHT: cursor = std::min(cursor + 1, length); break;
        case GLUT_KEY_HOME: cursor = 0; break;
        case GLUT_KEY_END: cursor = length; break;
        default: return true;
        }
        field->setCursor(cursor);
        field->setSelectRegion(cursor, cursor);
        return true;
    }
    if (!character && key != 8 && key != 127) return true;   // other control keys do nothing
    if (character && !field->isValidCharacter(static_cast<char>(key))) return true;
    if (end > start) {
        // A selection goes first, whatever the key.
        text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
        cursor = start;
    } else if (key == 8) {
        if (cursor > 0) text.erase(static_cast<size_t>(--cursor), 1);
    } else if (key == 127) {
        if (cursor < length) text.erase(static_cast<size_t>(cursor), 1);
    }
    if (character) text.insert(static_cast<size_t>(cursor++), 1, static_cast<char>(key));
    set_text_field(field, text.c_str());
    field->setCursor(cursor);
    field->setSelectRegion(cursor, cursor);
    // What PLIB does after a key: the field's down callback, if it has one (invokeDownCallback
    // would also end the typing).
    if (puCallback down = field->getDownCallback()) down(field);
    return true;
}
