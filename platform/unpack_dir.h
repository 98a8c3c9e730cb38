// A private folder of this run for unpacking courses: made with mkdtemp, so two copies of
// the game running at once never share one, and removed when the game ends.
#pragma once

#include <string>

// The folder private unpack folders are made in: $XDG_RUNTIME_DIR when it is an absolute
// path naming a folder, else $TMPDIR likewise, else "/tmp".
std::string unpack_base_dir(const char* runtimeDir, const char* tmpDir);

// Makes base + "/minigolf-XXXXXX" (mode 0700); its path, or "" when it cannot be made.
std::string make_unpack_dir(const std::string& base);

// Removes dir with everything in it; symbolic links are removed, never followed. Quiet.
void remove_unpack_dir(const std::string& dir);

// This run's folder, kept in runDir: made on the first call from the environment; "" when
// none can be made.
std::string run_unpack_dir(std::string& runDir);
// Removes this run's folder if one was made (the exit path) and forgets it.
void remove_run_unpack_dir(std::string& runDir);
