#include "platform/ui_dialogs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <plib/puAux.h>

#include "platform/fs.h"
#include "platform/ui_text_field.h"

namespace {

// One open dialog of this layer, with its half-size for re-centring.
struct OpenDialog {
    puDialogBox* box = nullptr;
    int halfWidth = 0;
    int halfHeight = 0;
};

std::vector<OpenDialog> openDialogs;

puFont titleFont = PUFONT_HELVETICA_18;

int window_width() { return puGetWindowWidth(); }
int window_height() { return puGetWindowHeight(); }

puDialogBox* make_box(int halfWidth, int halfHeight)
{
    puDialogBox* box = new puDialogBox(window_width() / 2 - halfWidth, window_height() / 2 - halfHeight);
    new puFrame(0, 0, 2 * halfWidth, 2 * halfHeight);
    openDialogs.push_back({box, halfWidth, halfHeight});
    return box;
}

void show_box(puDialogBox* box)
{
    box->close();
    box->reveal();
}

void delete_box(puDialogBox* box)
{
    openDialogs.erase(std::remove_if(openDialogs.begin(), openDialogs.end(),
                                     [box](const OpenDialog& d) { return d.box == box; }),
                      openDialogs.end());
    puDeleteObject(box);
}

// --- Yes/No question and message box -------------------------------------------------

struct Question {
    puDialogBox* box = nullptr;
    std::string text;   // PUI keeps only a pointer to its labels
    std::function<void()> onYes, onNo;
};

void question_answer(puObject* button, bool yes)
{
    std::unique_ptr<Question> question(static_cast<Question*>(button->getUserData()));
    delete_box(question->box);
    auto action = yes ? question->onYes : question->onNo;
    if (action) action();
}

// --- File chooser -----------------------------------------------------------------------

struct FileChooser {
    puDialogBox* box = nullptr;
    FileDialogOptions options;
    std::function<void(const std::string&)> onChosen;
    std::function<void()> onCancel;
    std::vector<std::string> names;       // files listed
    std::vector<ListedFile> listed;       // where each listed file lies
    std::vector<char*> listPointers;      // names as PUI wants them, ended by nullptr
    puaList* list = nullptr;
    puInput* nameInput = nullptr;
    std::string titleText, lookInText, typeText;
    int lastListIndex = -1;
};

FileChooser* activeChooser = nullptr;

void chooser_close(FileChooser* chooser)
{
    delete_box(chooser->box);
    if (activeChooser == chooser) activeChooser = nullptr;
}

void chooser_list_clicked(puObject* object)
{
    FileChooser* chooser = static_cast<FileChooser*>(object->getUserData());
    if (!chooser) return;
    int index = chooser->list->getIntegerValue();
    if (index >= 0 && index < static_cast<int>(chooser->names.size())) {
        set_text_field(chooser->nameInput, chooser->names[index].c_str());
        chooser->lastListIndex = index;
    }
}

std::string chooser_path(const FileChooser& chooser)
{
    std::string name = chooser.nameInput->getStringValue();
    // trim blanks a user may have typed around the name
    while (!name.empty() && name.back() == ' ') name.pop_back();
    size_t first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first);
    if (name.empty()) return {};
    if (!chooser.options.extension.empty() && base_name(name).find('.') == std::string::npos) {
        name += chooser.options.extension;
    }
    const std::string listedDir = folder_of_listed(chooser.listed, name);
    if (!listedDir.empty() && listedDir != chooser.options.directory) return listedDir + "/" + name;
    return chooser.options.directory.empty() ? name : chooser.options.directory + "/" + name;
}

void chooser_finish(FileChooser* chooser, const std::string& path)
{
    auto onChosen = chooser->onChosen;
    chooser_close(chooser);
    delete chooser;
    if (onChosen) onChosen(path);
}

void chooser_ok(puObject* object)
{
    FileChooser* chooser = static_cast<FileChooser*>(object->getUserData());
    std::string path = chooser_path(*chooser);
    if (path.empty()) return;
    const bool exists = file_exists(path);
    if (chooser->options.mustExist && !exists) {
        show_message(base_name(path) + "\nFile not found.\nCheck the file name and try again.", chooser->titleText);
        return;
    }
    if (chooser->options.askOverwrite && exists) {
        ask_question(
            base_name(path) + " already exists.\nDo you want to replace it?",
            [chooser, path] { chooser_finish(chooser, path); }, [] {});
        return;
    }
    chooser_finish(chooser, path);
}

void chooser_cancel(puObject* object)
{
    FileChooser* chooser = static_cast<FileChooser*>(object->getUserData());
    auto onCancel = chooser->onCancel;
    chooser_close(chooser);
    delete chooser;
    if (onCancel) onCancel();
}

}  // namespace

void show_file_dialog(const FileDialogOptions& options, std::function<void(const std::string&)> onChosen,
                      std::function<void()> onCancel)
{
    if (activeChooser) return;   // one chooser at a time
    ensure_directory(options.directory);
    FileChooser* chooser = new FileChooser;
    chooser->options = options;
    chooser->onChosen = std::move(onChosen);
    chooser->onCancel = std::move(onCancel);
    std::vector<std::string> dirs = {options.directory};
    dirs.insert(dirs.end(), options.moreDirectories.begin(), options.moreDirectories.end());
    chooser->listed = merged_file_list(dirs, options.extension);
    for (const ListedFile& file : chooser->listed) chooser->names.push_back(file.name);
    for (std::string& name : chooser->names) chooser->listPointers.push_back(name.data());
    chooser->listPointers.push_back(nullptr);
    chooser->titleText = options.title;
    chooser->lookInText = "Look in:  " + options.directory;
    chooser->typeText = "Files of type:  " + options.filterLabel;

    const int halfWidth = 250, halfHeight = 160;
    chooser->box = make_box(halfWidth, halfHeight);
    puText* title = new puText(15, 2 * halfHeight - 30);
    title->setLabel(chooser->titleText.c_str());
    title->setLabelFont(titleFont);
    puText* lookIn = new puText(15, 2 * halfHeight - 55);
    lookIn->setLabel(chooser->lookInText.c_str());
    chooser->list = new puaList(15, 110, 470, 150, chooser->listPointers.data());
    chooser->list->setUserData(chooser);
    chooser->list->setCallback(chooser_list_clicked);
    puText* nameLabel = new puText(15, 75);
    nameLabel->setLabel("File name:");
    chooser->nameInput = new puInput(100, 75, 485, 100);
    set_text_field(chooser->nameInput, options.initialName.c_str());
    chooser->nameInput->acceptInput();
    puText* typeLabel = new puText(15, 45);
    typeLabel->setLabel(chooser->typeText.c_str());
    puOneShot* ok = new puOneShot(300, 10, 380, 35);
    ok->setLegend(options.askOverwrite ? "Save" : "Open");
    ok->setUserData(chooser);
    ok->setCallback(chooser_ok);
    ok->makeReturnDefault(TRUE);
    puOneShot* cancel = new puOneShot(395, 10, 485, 35);
    cancel->setLegend("Cancel");
    cancel->setUserData(chooser);
    cancel->setCallback(chooser_cancel);
    show_box(chooser->box);
    activeChooser = chooser;
}

void show_message(const std::string& text, const std::string& caption)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    Question* question = new Question;
    question->text = text;
    // A list (every sound file that failed, say) makes the box taller; OK stays at its foot.
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    const int halfHeight = std::max(75, 40 + lines * 10);
    question->box = make_box(250, halfHeight);
    puText* label = new puText(47, 2 * halfHeight - 50);
    label->setLabel(question->text.c_str());
    puOneShot* ok = new puOneShot(210, 10, 290, 30);
    ok->setLegend("OK");
    ok->setUserData(question);
    ok->setCallback([](puObject* button) { question_answer(button, true); });
    ok->makeReturnDefault(TRUE);
    show_box(question->box);
}

void ask_question(const std::string& text, std::function<void()> onYes, std::function<void()> onNo)
{
    Question* question = new Question;
    question->text = text;
    question->onYes = std::move(onYes);
    question->onNo = std::move(onNo);
    question->box = make_box(250, 75);
    puText* label = new puText(47, 100);
    label->setLabel(question->text.c_str());
    puOneShot* yes = new puOneShot(150, 10, 230, 30);
    yes->setLegend("Yes");
    yes->setUserData(question);
    yes->setCallback([](puObject* button) { question_answer(button, true); });
    puOneShot* no = new puOneShot(270, 10, 350, 30);
    no->setLegend("No");
    no->setUserData(question);
    no->setCallback([](puObject* button) { question_answer(button, false); });
    show_box(question->box);
}

namespace {

struct ChoiceBox {
    puDialogBox* box = nullptr;
    std::string text;
    std::vector<Choice> choices;
};

void choice_pressed(puObject* button)
{
    auto* box = static_cast<ChoiceBox*>(button->getUserData());
    const int index = button->getDefaultValue();   // PUI's spare integer: the button's index
    std::unique_ptr<ChoiceBox> owned(box);
    delete_box(box->box);
    std::function<void()> action = box->choices[static_cast<size_t>(index)].action;
    if (action) action();
}

}  // namespace

void ask_choice(const std::string& text, std::vector<Choice> choices)
{
    ChoiceBox* choice = new ChoiceBox;
    choice->text = text;
    choice->choices = std::move(choices);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    const int halfHeight = std::max(75, 40 + lines * 10);
    choice->box = make_box(250, halfHeight);
    puText* label = new puText(47, 2 * halfHeight - 50);
    label->setLabel(choice->text.c_str());
    const int count = static_cast<int>(choice->choices.size());
    const int buttonWidth = 100, gap = 20;
    int x = 250 - (count * buttonWidth + (count - 1) * gap) / 2;
    for (int k = 0; k < count; ++k, x += buttonWidth + gap) {
        puOneShot* button = new puOneShot(x, 10, x + buttonWidth, 30);
        button->setLegend(choice->choices[static_cast<size_t>(k)].label.c_str());
        button->setUserData(choice);
        button->setDefaultValue(k);
        button->setCallback(choice_pressed);
    }
    show_box(choice->box);
}

puDialogBox* open_dialog_box(int halfWidth, int halfHeight) { return make_box(halfWidth, halfHeight); }
void show_dialog_box(puDialogBox* box) { show_box(box); }
void close_dialog_box(puDialogBox* box) { delete_box(box); }

void set_dialog_title_font(const puFont& font) { titleFont = font; }
const puFont& dialog_title_font() { return titleFont; }

bool platform_dialog_open() { return !openDialogs.empty(); }

void recentre_platform_dialogs(int windowWidth, int windowHeight)
{
    for (const OpenDialog& dialog : openDialogs) {
        dialog.box->setPosition(windowWidth / 2 - dialog.halfWidth, windowHeight / 2 - dialog.halfHeight);
    }
}
