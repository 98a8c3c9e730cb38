#include "platform/unpack_dir.h"

#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs.h"

namespace {


bool usable_base(const char* dir) { return dir && dir[0] == '/' && directory_exists(dir); }

// Every level below dir, bounded so a crafted tree cannot recurse for ever.
void remove_tree(const std::string& dir, int depth)
{
    if (depth > 16) return;
    if (DIR* listing = opendir(dir.c_str())) {
        while (dirent* entry = readdir(listing)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "/" + name;
            struct stat st;
            if (lstat(path.c_str(), &st) != 0) continue;
            if (S_ISDIR(st.st_mode)) remove_tree(path, depth + 1);
            else unlink(path.c_str());
        }
        closedir(listing);
    }
    rmdir(dir.c_str());
}

}  // namespace

std::string unpack_base_dir(const char* runtimeDir, const char* tmpDir)
{
    if (usable_base(runtimeDir)) return runtimeDir;
    if (usable_base(tmpDir)) return tmpDir;
    return "/tmp";
}

std::string make_unpack_dir(const std::string& base)
{
    std::string pattern = (base.empty() || base.back() != '/' ? base + "/" : base) + "minigolf-XXXXXX";
    if (!mkdtemp(pattern.data())) return {};
    return pattern;
}

void remove_unpack_dir(const std::string& dir)
{
    if (dir.empty() || dir == "/") return;
    remove_tree(dir, 0);
}

std::string run_unpack_dir(std::string& runDir)
{
    if (runDir.empty()) runDir = make_unpack_dir(unpack_base_dir(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR")));
    return runDir;
}

void remove_run_unpack_dir(std::string& runDir)
{
    remove_unpack_dir(runDir);
    runDir.clear();
}
