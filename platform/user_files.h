// The user's files of an older, portable-style run (settings, leader boards and holes kept
// in the working directory) copied into the XDG folders on the first start, once.
#pragma once

#include <string>
#include <vector>

#include "platform/paths.h"

// A file in the settings folder that says the copy has been made (or found nothing).
constexpr const char* COPY_DONE_MARKER = "copied-from-working-directory";
// Files larger than this are not the game's and are left alone.
constexpr long long COPY_MAX_BYTES = 1 << 20;

struct CopyReport {
    bool ran = false;                  // false: done on an earlier start
    std::vector<std::string> copied;   // the files copied, as paths under fromDir
    std::vector<std::string> failed;   // what could not be copied, and why
};

// Copies "Config.glf" into to.configDir, "leader_board*.lbh" into to.userDataDir and
// "holes/*.top" into to.userDataDir + "/holes", unless the copy was made before. Files are
// copied, never moved; a file already at the destination is kept as it is. The folders are
// made with mode 0700, and the marker is written once the copy has run.
CopyReport copy_working_directory_files(const std::string& fromDir, const GamePaths& to);

// What the game tells the player about a copy that copied something ("" when nothing).
std::string copy_report_message(const CopyReport& report, const GamePaths& to);
