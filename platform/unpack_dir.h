// A private folder of this run for unpacking courses: made with mkdtemp, so two copies of
// the game running at once never share one, and removed when the game ends. Each holds a
// lock file its copy keeps locked while it runs, so the folders of copies that were killed
// can be told from those of running ones and removed at a later start.
#pragma once

#include <string>

// The folder private unpack folders are made in: $XDG_RUNTIME_DIR when it is an absolute
// path naming a folder, else $TMPDIR likewise, else "/tmp".
std::string unpack_base_dir(const char* runtimeDir, const char* tmpDir);

// Makes base + "/minigolf-XXXXXX" (mode 0700) holding the lock file, locked by this process
// until the folder is removed or the process ends (a folder whose lock cannot be taken is
// still made); its path, or "" when it cannot be made.
std::string make_unpack_dir(const std::string& base);

// Removes dir with everything in it; symbolic links are removed, never followed. Quiet.
void remove_unpack_dir(const std::string& dir);

// Removes the folders base/minigolf-XXXXXX left by copies of the game that are gone: real
// folders (not links) of this user, private, whose lock file nobody holds. A folder without
// a lock file (an older version's, or a copy killed while making it) goes once it is a day
// old. Running copies' folders and everything else in base are left alone. Returns how many
// folders were removed.
int remove_stale_unpack_dirs(const std::string& base);

// This run's folder, kept in runDir: made on the first call from the environment; "" when
// none can be made.
std::string run_unpack_dir(std::string& runDir);
// Removes this run's folder if one was made (the exit path) and forgets it.
void remove_run_unpack_dir(std::string& runDir);
// At start: removes what killed copies left in the folder run_unpack_dir would use.
void remove_stale_run_unpack_dirs();
