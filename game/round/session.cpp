#include "game/round/session.h"

#include <cstdio>
#include <cstring>

#include "platform/fs.h"

void set_sound_label(GameSession& s, bool soundOn) { std::strcpy(s.soundLabel, soundOn ? "Sound Off" : "Sound On "); }
void set_aim_guide_label(GameSession& s, bool guideOn)
{
    std::strcpy(s.aimGuideLabel, guideOn ? "Aim Guide Off" : "Aim Guide On ");
}

void set_ui_scale_label(GameSession& s, UiScale setting)
{
    // Padded to the longest entry: PUI sizes the menu by the labels it was made with.
    std::snprintf(s.uiScaleLabel, sizeof s.uiScaleLabel, "%-18s", ui_scale_label(setting));
}

void set_windowed_label(GameSession& s, bool fullScreen)
{
    std::strcpy(s.windowedLabel, fullScreen ? "Windowed" : "--------");
}

void set_window_title(GameSession& s, const char* title)
{
    if (s.hooks.set_window_title) s.hooks.set_window_title(s, title);
}

std::string current_file_base_name(GameSession& s, bool setTitle)
{
    std::string baseName = s.currentFileName.empty() ? std::string() : base_name(s.currentFileName);
    if (setTitle) set_window_title(s, baseName.c_str());
    return baseName;
}
