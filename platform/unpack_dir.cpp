#include "platform/unpack_dir.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs.h"

namespace {

const char UNPACK_PREFIX[] = "minigolf-";
const char LOCK_NAME[] = "owner.lock";
const char LOCK_MAKING_NAME[] = "owner.lock.new";
// A folder without a lock file is left this long: its copy may be between making it and
// locking it.
const time_t UNLOCKED_GRACE_SECONDS = 24 * 60 * 60;
// Folders removed at one start at most, so a start stays quick whatever was left behind.
const int MAX_REMOVED_PER_START = 256;

// The lock files this process holds open, one per folder it made.
std::mutex heldLocksMutex;
std::vector<std::pair<std::string, int>> heldLocks;

bool usable_base(const char* dir) { return dir && dir[0] == '/' && directory_exists(dir); }

std::string with_slash(const std::string& base)
{
    return base.empty() || base.back() != '/' ? base + "/" : base;
}

// "minigolf-" and the six letters or digits mkdtemp puts in.
bool is_unpack_dir_name(const std::string& name)
{
    const size_t prefix = sizeof UNPACK_PREFIX - 1;
    if (name.size() != prefix + 6 || name.compare(0, prefix, UNPACK_PREFIX) != 0) return false;
    for (size_t k = prefix; k < name.size(); ++k) {
        const char c = name[k];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

// Every level below dir, bounded so a crafted tree cannot recurse for ever. Each folder is
// opened without following a link, so a link put in place of one is removed, not entered.
void remove_tree(const std::string& dir, int depth)
{
    if (depth > 16) return;
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    DIR* listing = fdopendir(fd);
    if (!listing) {
        close(fd);
        return;
    }
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
    rmdir(dir.c_str());
}

// Takes the lock of a new folder: made and locked under a side name, then renamed, so no
// other copy ever sees the lock file unlocked while this one runs.
int take_folder_lock(const std::string& dir)
{
    const std::string making = dir + "/" + LOCK_MAKING_NAME;
    const int fd = open(making.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || rename(making.c_str(), (dir + "/" + LOCK_NAME).c_str()) != 0) {
        close(fd);
        unlink(making.c_str());
        return -1;
    }
    return fd;
}

// Removes base/name when it is a stale folder of ours; true when it did.
bool remove_if_stale(const std::string& base, const std::string& name)
{
    const std::string dir = with_slash(base) + name;
    struct stat st;
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & 077) != 0)
        return false;
    const int fd = open((dir + "/" + LOCK_NAME).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) return false;
        if (time(nullptr) - st.st_mtime < UNLOCKED_GRACE_SECONDS) return false;
        remove_tree(dir, 0);
        return true;
    }
    struct stat lockStat;
    // Held while the folder goes, so a second copy starting now leaves it to this one.
    const bool stale = fstat(fd, &lockStat) == 0 && S_ISREG(lockStat.st_mode) && lockStat.st_uid == geteuid() &&
                       flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (stale) remove_tree(dir, 0);
    close(fd);
    return stale;
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
    std::string pattern = with_slash(base) + UNPACK_PREFIX + "XXXXXX";
    if (!mkdtemp(pattern.data())) return {};
    // Without a lock (a file system that has none) the folder still serves; later starts
    // then leave it alone for a day.
    const int lock = take_folder_lock(pattern);
    if (lock >= 0) {
        std::lock_guard<std::mutex> guard(heldLocksMutex);
        heldLocks.emplace_back(pattern, lock);
    }
    return pattern;
}

void remove_unpack_dir(const std::string& dir)
{
    if (dir.empty() || dir == "/") return;
    remove_tree(dir, 0);
    std::lock_guard<std::mutex> guard(heldLocksMutex);
    for (size_t k = 0; k < heldLocks.size(); ++k) {
        if (heldLocks[k].first != dir) continue;
        close(heldLocks[k].second);
        heldLocks.erase(heldLocks.begin() + static_cast<std::ptrdiff_t>(k));
        break;
    }
}

int remove_stale_unpack_dirs(const std::string& base)
{
    if (base.empty()) return 0;
    const int fd = open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return 0;
    DIR* listing = fdopendir(fd);
    if (!listing) {
        close(fd);
        return 0;
    }
    // Names first: removing while reading a folder may skip or repeat entries.
    std::vector<std::string> candidates;
    while (dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (is_unpack_dir_name(name)) candidates.push_back(name);
        if (candidates.size() >= 4 * MAX_REMOVED_PER_START) break;
    }
    closedir(listing);
    int removed = 0;
    for (const std::string& name : candidates) {
        if (removed >= MAX_REMOVED_PER_START) break;
        removed += remove_if_stale(base, name) ? 1 : 0;
    }
    return removed;
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

void remove_stale_run_unpack_dirs()
{
    remove_stale_unpack_dirs(unpack_base_dir(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR")));
}
