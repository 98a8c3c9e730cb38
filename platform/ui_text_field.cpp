#include "platform/ui_text_field.h"

#include <algorithm>
#include <cstring>
#include <string>

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

puInput* active_text_field()
{
    puObject* active = puActiveWidget();
    return active && (active->getType() & PUCLASS_INPUT) ? static_cast<puInput*>(active) : nullptr;
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
    const bool character = key >= ' ' && key < 127;
    if (!character && key != 8 && key != 127) return false;
    puInput* field = active_text_field();
    if (!field || !field->isAcceptingInput() || !field->isVisible() || !field->isActive() || field->inputDisabled()) return false;

    const char* value = field->getStringValue();
    std::string text = value ? value : "";
    const int length = static_cast<int>(text.size());
    int cursor = std::clamp(field->getCursor(), 0, length);
    int start = 0, end = 0;
    field->getSelectRegion(&start, &end);
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    if (start > end) std::swap(start, end);

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
