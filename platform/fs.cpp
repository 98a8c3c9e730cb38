#include "platform/fs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool write_file_atomic(const std::string& path, std::string_view data, std::string* error)
{
    std::string tmpl = path + ".tmpXXXXXX";
    int fd = mkstemp(tmpl.data());
    if (fd < 0) {
        if (error) *error = std::string("cannot create a file beside ") + path + ": " + std::strerror(errno);
        return false;
    }
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        done += static_cast<size_t>(n);
    }
    bool ok = done == data.size();
    int savedErrno = errno;
    if (ok && fsync(fd) != 0) { ok = false; savedErrno = errno; }
    // keep the usual permissions of a new file rather than mkstemp's 0600
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    if (::close(fd) != 0 && ok) { ok = false; savedErrno = errno; }
    if (ok && std::rename(tmpl.c_str(), path.c_str()) != 0) { ok = false; savedErrno = errno; }
    if (!ok) {
        std::remove(tmpl.c_str());
        if (error) *error = std::string("cannot write ") + path + ": " + std::strerror(savedErrno);
    }
    return ok;
}

bool directory_exists(const std::string& dir)
{
    struct stat st;
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool file_exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ensure_directory(const std::string& dir)
{
    if (directory_exists(dir)) return true;
    mkdir(dir.c_str(), 0777);
    return directory_exists(dir);
}

std::string base_name(std::string_view path)
{
    size_t cut = path.find_last_of("/\\:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string directory_of(std::string_view path)
{
    size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

std::string current_directory()
{
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

std::string join_path(const std::string& dir, const std::string& name)
{
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}
