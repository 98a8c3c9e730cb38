// Helpers for the course tests: a scratch directory and hand-made ZIP archives.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <minizip/zip.h>
#include <zlib.h>

namespace course_test {

// A fresh directory removed again with everything in it.
struct ScratchDir {
    std::string path;
    ScratchDir()
    {
        char name[] = "/tmp/mg-course-test-XXXXXX";
        path = mkdtemp(name);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

struct ZipEntry {
    std::string name;
    std::string data;
    // When not zero: stored raw with this uncompressed size claimed, whatever data holds.
    unsigned long long claimedSize = 0;
    int year = 2001, month = 1, day = 3, hour = 4, minute = 5, second = 6;   // month 0-based
};

inline bool write_zip(const std::string& path, const std::vector<ZipEntry>& entries)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip) return false;
    bool ok = true;
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info = {};
        info.tmz_date.tm_year = static_cast<uInt>(entry.year);
        info.tmz_date.tm_mon = static_cast<uInt>(entry.month);
        info.tmz_date.tm_mday = static_cast<uInt>(entry.day);
        info.tmz_date.tm_hour = static_cast<uInt>(entry.hour);
        info.tmz_date.tm_min = static_cast<uInt>(entry.minute);
        info.tmz_date.tm_sec = static_cast<uInt>(entry.second);
        bool raw = entry.claimedSize != 0;
        ok = ok && zipOpenNewFileInZip2(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                        raw ? 0 : Z_DEFLATED, raw ? 0 : Z_DEFAULT_COMPRESSION, raw ? 1 : 0) == ZIP_OK;
        if (ok && !entry.data.empty()) {
            ok = zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())) == ZIP_OK;
        }
        if (raw) {
            ok = zipCloseFileInZipRaw64(zip, entry.claimedSize, 12345) == ZIP_OK && ok;
        } else {
            ok = zipCloseFileInZip(zip) == ZIP_OK && ok;
        }
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

inline std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void write_text(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline bool exists(const std::string& path) { return std::filesystem::exists(path); }

// Every path below dir, relative, sorted.
inline std::vector<std::string> listing(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::recursive_directory_iterator(dir)) {
        names.push_back(std::filesystem::relative(item.path(), dir).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace course_test
