// Shared by the game's PUI screens: buttons that carry the session, and dialogs deleted by
// the button that closes them.
#pragma once

#include <plib/pu.h>

struct GameSession;

// The session a widget made by add_button carries.
inline GameSession& session_of(puObject* object) { return *static_cast<GameSession*>(object->getUserData()); }

// A one-shot button with its legend and callback, carrying the session as its user data.
inline puOneShot* add_button(GameSession& s, int x0, int y0, int x1, int y1, const char* legend, puCallback callback)
{
    puOneShot* button = new puOneShot(x0, y0, x1, y1);
    button->setLegend(legend);
    button->setCallback(callback);
    button->setUserData(&s);
    return button;
}

inline void delete_dialog(puDialogBox*& box)
{
    if (box) puDeleteObject(box);
    box = nullptr;
}
