// A choice among fixed texts made of plain PUI parts: a sunken face showing the chosen entry
// and two arrows at its right end, the upper one for the next entry and the lower one for the
// previous. It never opens a list past the window's edge, and grows with the other widgets.
// Made inside a dialog like any widget; the dialog deletes it.
#pragma once

#include <plib/pu.h>

class StepList : public puGroup {
public:
    // The box (x0, y0)-(x1, y1) in its dialog; entries is ended by a null pointer and must
    // outlive the list (the face shows the texts themselves). The first entry is chosen.
    StepList(int x0, int y0, int x1, int y1, const char* const* entries);

    int getNumItems() const { return count_; }
    // The chosen entry (-1 when the list is empty).
    int getCurrentItem() const { return current_; }
    // Chooses an entry without running the callback; out-of-range numbers are ignored.
    void setCurrentItem(int item);

private:
    static void arrow_pressed(puObject* arrow);
    void show_current();

    const char* const* entries_;
    int count_ = 0;
    int current_ = -1;
    puFrame* face_ = nullptr;
    puArrowButton* next_ = nullptr;
    puArrowButton* previous_ = nullptr;
};
