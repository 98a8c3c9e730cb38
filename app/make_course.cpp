// File > "Make Course...": the holes of the holes folder put in order with a par each and
// packed into a course of the user's courses folder, which Play Course then offers.
#include <plib/puAux.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/editor_commands.h"
#include "app/shell.h"
#include "game/computer/suggested_par.h"
#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "platform/file_list.h"
#include "platform/fs.h"
#include "platform/paths.h"
#include "platform/quiet_frames.h"
#include "platform/ui_dialogs.h"
#include "platform/ui_text_field.h"

struct MakeCourseDialog {
    Session* session = nullptr;
    puDialogBox* box = nullptr;
    std::string holesDir, coursesDir;
    std::vector<std::string> holeNames;      // the holes folder
    std::vector<char*> holePointers;
    std::vector<std::string> chosen;         // the course's holes in order
    std::vector<int> pars;
    std::vector<std::shared_ptr<ParJudge>> judges;   // a hole's par still being judged, or null
    std::vector<std::string> chosenLines;    // "1. name  par 3"
    std::vector<char*> chosenPointers;
    puaList* holeList = nullptr;
    puaList* courseList = nullptr;
    puInput* nameInput = nullptr;
    int selected = -1;                       // the course hole selected
};

namespace {

constexpr int HALF_WIDTH = 280, HALF_HEIGHT = 200;
constexpr int MIN_PAR = 1, MAX_PAR = 9;
constexpr int FIRST_PAR = 3;   // offered until the hole is judged
constexpr const char* CAPTION = "Make Course";

MakeCourseDialog& dialog_of(puObject* object) { return *static_cast<MakeCourseDialog*>(object->getUserData()); }

void refresh_course_list(MakeCourseDialog& d)
{
    d.chosenLines.clear();
    for (size_t k = 0; k < d.chosen.size(); ++k)
        d.chosenLines.push_back(std::to_string(k + 1) + ". " + d.chosen[k] + "   par " + std::to_string(d.pars[k]) +
                                (d.judges[k] ? "?" : ""));   // "par 3?" while it is being judged
    d.chosenPointers.clear();
    for (std::string& line : d.chosenLines) d.chosenPointers.push_back(line.data());
    d.chosenPointers.push_back(nullptr);
    d.courseList->newList(d.chosenPointers.data());
    if (d.selected >= static_cast<int>(d.chosen.size())) d.selected = static_cast<int>(d.chosen.size()) - 1;
    d.courseList->setValue(d.selected);
}

// A judge of the hole's par: the Expert plays it a few times, in slices of the frames. Null
// for a hole that cannot be read or has no tee; its par stays the one offered first.
std::shared_ptr<ParJudge> par_judge_of(const MakeCourseDialog& d, const std::string& name)
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    std::string error;
    if (!read_hole_file(*grid, d.holesDir + "/" + name, &error) || grid->tee.level == -1) return nullptr;
    return std::make_shared<ParJudge>(*grid);
}

void add_pressed(puObject* object)
{
    MakeCourseDialog& d = dialog_of(object);
    const int index = d.holeList->getIntegerValue();
    if (index < 0 || index >= static_cast<int>(d.holeNames.size())) return;
    if (static_cast<int>(d.chosen.size()) >= MAX_HOLES) {
        show_message("A course holds at most 18 holes.", CAPTION);
        return;
    }
    d.chosen.push_back(d.holeNames[static_cast<size_t>(index)]);
    d.pars.push_back(FIRST_PAR);
    d.judges.push_back(par_judge_of(d, d.chosen.back()));
    d.selected = static_cast<int>(d.chosen.size()) - 1;
    refresh_course_list(d);
}

void course_list_clicked(puObject* object)
{
    MakeCourseDialog& d = dialog_of(object);
    const int index = d.courseList->getIntegerValue();
    d.selected = index >= 0 && index < static_cast<int>(d.chosen.size()) ? index : -1;
}

bool has_selection(const MakeCourseDialog& d) { return d.selected >= 0 && d.selected < static_cast<int>(d.chosen.size()); }

void remove_pressed(puObject* object)
{
    MakeCourseDialog& d = dialog_of(object);
    if (!has_selection(d)) return;
    d.chosen.erase(d.chosen.begin() + d.selected);
    d.pars.erase(d.pars.begin() + d.selected);
    d.judges.erase(d.judges.begin() + d.selected);
    refresh_course_list(d);
}

void move_selected(MakeCourseDialog& d, int by)
{
    const int to = d.selected + by;
    if (!has_selection(d) || to < 0 || to >= static_cast<int>(d.chosen.size())) return;
    std::swap(d.chosen[static_cast<size_t>(d.selected)], d.chosen[static_cast<size_t>(to)]);
    std::swap(d.pars[static_cast<size_t>(d.selected)], d.pars[static_cast<size_t>(to)]);
    std::swap(d.judges[static_cast<size_t>(d.selected)], d.judges[static_cast<size_t>(to)]);
    d.selected = to;
    refresh_course_list(d);
}

void up_pressed(puObject* object) { move_selected(dialog_of(object), -1); }
void down_pressed(puObject* object) { move_selected(dialog_of(object), 1); }

void change_par(MakeCourseDialog& d, int by)
{
    if (!has_selection(d)) return;
    int& par = d.pars[static_cast<size_t>(d.selected)];
    par = std::min(MAX_PAR, std::max(MIN_PAR, par + by));
    d.judges[static_cast<size_t>(d.selected)].reset();   // the designer's par stands
    refresh_course_list(d);
}

void par_down_pressed(puObject* object) { change_par(dialog_of(object), -1); }
void par_up_pressed(puObject* object) { change_par(dialog_of(object), 1); }

void close_dialog(Session& s)
{
    std::shared_ptr<MakeCourseDialog> d = s.editorExtras.makeCourse;
    if (!d) return;
    release_active_text_field_buffer();
    close_dialog_box(d->box);
    s.editorExtras.makeCourse.reset();
}

// A course name becomes a file name: letters, digits, blanks, '-' and '_' only.
bool usable_name(const std::string& name)
{
    if (name.empty() || name.size() > 60) return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == ' ' || c == '-' || c == '_')) return false;
    return name.find_first_not_of(' ') != std::string::npos;
}

void write_course(Session& s, const std::string& path)
{
    std::shared_ptr<MakeCourseDialog> d = s.editorExtras.makeCourse;
    if (!d) return;
    std::vector<CoursePackHole> holes(d->chosen.size());
    for (size_t k = 0; k < holes.size(); ++k) {
        holes[k].holePath = d->holesDir + "/" + d->chosen[k];
        holes[k].par = d->pars[k];
    }
    std::string error;
    ensure_directory(d->coursesDir);
    if (!pack_course(path, holes, &error)) {
        show_message("The course could not be made.\n" + error, CAPTION);
        return;
    }
    close_dialog(s);
    show_message(base_name(path) + " has been made, and Play Course offers it.", CAPTION);
}

void make_pressed(puObject* object)
{
    MakeCourseDialog& d = dialog_of(object);
    Session& s = *d.session;
    std::string name = d.nameInput->getStringValue();
    while (!name.empty() && name.back() == ' ') name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(name.begin());
    if (d.chosen.empty()) {
        show_message("Add at least one hole to the course.", CAPTION);
        return;
    }
    if (!usable_name(name)) {
        show_message("Give the course a name of letters, digits, blanks, '-' or '_'.", CAPTION);
        return;
    }
    const std::string path = d.coursesDir + "/" + name + ".cor";
    if (file_exists(path)) {
        ask_choice(name + ".cor already exists.\nDo you want to replace it?",
                   {{"Yes", [&s, path] { write_course(s, path); }}, {"No", {}}});
        return;
    }
    write_course(s, path);
}

void cancel_pressed(puObject* object) { close_dialog(*dialog_of(object).session); }

puOneShot* button(MakeCourseDialog& d, int x, int y, int w, const char* legend, puCallback callback)
{
    puOneShot* b = new puOneShot(x, y, x + w, y + 22);
    b->setLegend(legend);
    b->setUserData(&d);
    b->setCallback(callback);
    return b;
}

}  // namespace

void open_make_course_dialog(Session& s)
{
    if (s.editorExtras.makeCourse || !editor_in_use(s) || platform_dialog_open()) return;
    auto d = std::make_shared<MakeCourseDialog>();
    s.editorExtras.makeCourse = d;
    d->session = &s;
    d->holesDir = user_data_file(s.paths, "holes");
    d->coursesDir = user_data_file(s.paths, "courses");
    ensure_directory(d->holesDir);
    d->holeNames = list_files_with_extension(d->holesDir, ".top");
    for (std::string& name : d->holeNames) d->holePointers.push_back(name.data());
    d->holePointers.push_back(nullptr);
    d->chosenPointers.push_back(nullptr);

    d->box = open_dialog_box(HALF_WIDTH, HALF_HEIGHT);
    puText* title = new puText(15, 2 * HALF_HEIGHT - 30);
    title->setLabel("Make Course");
    title->setLabelFont(dialog_title_font());
    puText* holesLabel = new puText(15, 2 * HALF_HEIGHT - 55);
    holesLabel->setLabel("Holes folder:");
    puText* courseLabel = new puText(300, 2 * HALF_HEIGHT - 55);
    courseLabel->setLabel("The course, in order:");
    d->holeList = new puaList(15, 130, 200, 210, d->holePointers.data());
    d->courseList = new puaList(300, 130, 245, 210, d->chosenPointers.data());
    d->courseList->setUserData(d.get());
    d->courseList->setCallback(course_list_clicked);
    button(*d, 222, 300, 70, "Add >", add_pressed);
    button(*d, 222, 270, 70, "Remove", remove_pressed);
    button(*d, 222, 240, 70, "Up", up_pressed);
    button(*d, 222, 210, 70, "Down", down_pressed);
    button(*d, 222, 170, 70, "Par +", par_up_pressed);
    button(*d, 222, 140, 70, "Par -", par_down_pressed);
    puText* nameLabel = new puText(15, 90);
    nameLabel->setLabel("Course name:");
    d->nameInput = new puInput(120, 90, 545, 112);
    set_text_field(d->nameInput, "");
    button(*d, 330, 15, 110, "Make Course", make_pressed);
    button(*d, 455, 15, 90, "Cancel", cancel_pressed);
    show_dialog_box(d->box);
}

void judge_course_pars(Session& s, std::chrono::steady_clock::time_point deadline)
{
    std::shared_ptr<MakeCourseDialog> d = s.editorExtras.makeCourse;
    if (!d) return;
    using Clock = std::chrono::steady_clock;
    for (size_t k = 0; k < d->judges.size(); ++k) {
        if (!d->judges[k]) continue;
        ParJudge& judge = *d->judges[k];
        // A simulated putt takes a few milliseconds at most: stop well before the deadline.
        while (Clock::now() + std::chrono::milliseconds(4) < deadline)
            if (judge.advance(1)) break;
        if (judge.judged()) {
            d->pars[k] = std::clamp(judge.par(), MIN_PAR, MAX_PAR);
            d->judges[k].reset();
            refresh_course_list(*d);
            note_input(s.quietFrames);   // the list's new line is shown at once
        }
        return;   // one hole at a time, in the course's order
    }
}
