#include "platform/ui_step_list.h"

#include <initializer_list>

#include "platform/step_choice.h"

namespace {

constexpr int ARROW_WIDTH = 18;
constexpr int MAX_ENTRIES = 256;

}  // namespace

StepList::StepList(int x0, int y0, int x1, int y1, const char* const* entries) : puGroup(x0, y0), entries_(entries)
{
    while (entries_ && count_ < MAX_ENTRIES && entries_[count_]) ++count_;
    const int w = x1 - x0, h = y1 - y0;
    face_ = new puFrame(0, 0, w - ARROW_WIDTH, h);
    face_->setStyle(PUSTYLE_BOXED);
    face_->setColour(PUCOL_FOREGROUND, 0.85f, 0.8f, 0.8f);
    face_->setLegendPlace(PUPLACE_CENTERED_LEFT);
    next_ = new puArrowButton(w - ARROW_WIDTH, h / 2, w, h, PUARROW_UP);
    previous_ = new puArrowButton(w - ARROW_WIDTH, 0, w, h / 2, PUARROW_DOWN);
    for (puArrowButton* arrow : {next_, previous_}) {
        arrow->setUserData(this);
        arrow->setCallback(arrow_pressed);
    }
    close();
    current_ = count_ > 0 ? 0 : -1;
    show_current();
}

void StepList::setCurrentItem(int item)
{
    if (item < 0 || item >= count_) return;
    current_ = item;
    show_current();
}

void StepList::show_current() { face_->setLegend(current_ >= 0 ? entries_[current_] : ""); }

void StepList::arrow_pressed(puObject* arrow)
{
    auto* list = static_cast<StepList*>(arrow->getUserData());
    const int step = arrow == list->next_ ? 1 : -1;
    const int item = stepped_choice(list->current_, list->count_, step);
    if (item == list->current_) return;
    list->current_ = item;
    list->show_current();
    list->invokeCallback();
}
