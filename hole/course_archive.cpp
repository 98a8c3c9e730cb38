// Course archives: reading the description, unpacking into "temp", removing, packing.
#include "hole/course_archive.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include "hole/field_reader.h"
#include "hole/hole_file.h"
#include "platform/fs.h"

namespace {

constexpr size_t NUMBER_FIELD_MAX = 27;                      // characters kept of a number field
constexpr size_t NAME_FIELD_MAX = COURSE_PATH_MAX;           // one more than any usable name
constexpr size_t ENTRY_NAME_MAX = 1024;                      // stored names longer are refused
constexpr size_t COPY_CHUNK = 8192;

bool equals_ignoring_case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k) {
        unsigned char x = static_cast<unsigned char>(a[k]), y = static_cast<unsigned char>(b[k]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The part of an archive name after its last '/' or '\' (archives made on Windows use '\').
std::string entry_base_name(std::string_view name)
{
    size_t cut = name.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? name : name.substr(cut + 1));
}

// A name that can stand for a file inside the unpacking directory and nowhere else.
bool is_plain_file_name(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos;
}

bool is_no_music(std::string_view name) { return equals_ignoring_case(name, NO_MUSIC); }

std::string bounded(const char* text) { return std::string(text, strnlen(text, COURSE_PATH_MAX)); }

void copy_path(char (&target)[COURSE_PATH_MAX], const std::string& path)
{
    std::memset(target, 0, sizeof target);
    std::memcpy(target, path.data(), std::min(path.size(), sizeof target - 1));
}

std::string quoted(std::string_view name)
{
    std::string text;
    text.reserve(name.size() + 2);
    text += '"';
    text += name;
    text += '"';
    return text;
}

// The directory that holds the course file: the path up to its last '/', "/" for a file at
// the root and "." for a bare file name.
std::string course_directory_of(const std::string& path)
{
    size_t cut = path.find_last_of('/');
    if (cut == std::string::npos) return ".";
    if (cut == 0) return "/";
    return path.substr(0, cut);
}

std::string join(const std::string& dir, std::string_view name)
{
    if (!dir.empty() && dir.back() == '/') return dir + std::string(name);
    return dir + "/" + std::string(name);
}

struct UnzCloser {
    void operator()(unzFile z) const { unzClose(z); }
};
using UnzHandle = std::unique_ptr<void, UnzCloser>;

struct ArchiveEntry {
    std::string storedName;
    std::string baseName;
    bool directory = false;
    uint64_t size = 0;           // uncompressed size as the archive claims it
    tm_unz date = {};            // stored local date and time
    unz64_file_pos position = {};
};

// Lists the entries of an open archive, refusing archives beyond the size limits.
bool list_entries(unzFile zip, const std::string& path, std::vector<ArchiveEntry>& entries, std::string& message)
{
    unz_global_info64 global = {};
    if (unzGetGlobalInfo64(zip, &global) != UNZ_OK) {
        message = "The course file " + path + " is damaged: its table of contents cannot be read.";
        return false;
    }
    if (global.number_entry > static_cast<ZPOS64_T>(COURSE_MAX_ENTRIES)) {
        message = "The course file " + path + " holds " + std::to_string(global.number_entry) +
                  " entries; a course holds at most " + std::to_string(COURSE_MAX_ENTRIES) + ".";
        return false;
    }
    uint64_t total = 0;
    int status = unzGoToFirstFile(zip);
    while (status == UNZ_OK) {
        if (entries.size() >= static_cast<size_t>(COURSE_MAX_ENTRIES)) {
            message = "The course file " + path + " holds more than " + std::to_string(COURSE_MAX_ENTRIES) + " entries.";
            return false;
        }
        unz_file_info64 info = {};
        char name[ENTRY_NAME_MAX + 1] = {};
        if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) {
            message = "The course file " + path + " is damaged: an entry cannot be read.";
            return false;
        }
        if (info.size_filename > ENTRY_NAME_MAX) {
            message = "The course file " + path + " holds an entry with an over-long name.";
            return false;
        }
        ArchiveEntry entry;
        entry.storedName = name;
        entry.baseName = entry_base_name(entry.storedName);
        entry.directory = !entry.storedName.empty() && (entry.storedName.back() == '/' || entry.storedName.back() == '\\');
        entry.size = info.uncompressed_size;
        entry.date = info.tmu_date;
        unzGetFilePos64(zip, &entry.position);
        if (entry.size > COURSE_MAX_ENTRY_BYTES) {
            message = "The course file " + path + " holds an entry larger than 32 MiB (" + entry.storedName + ").";
            return false;
        }
        total += entry.size;
        if (total > COURSE_MAX_TOTAL_BYTES) {
            message = "The course file " + path + " unpacks to more than 256 MiB.";
            return false;
        }
        entries.push_back(std::move(entry));
        status = unzGoToNextFile(zip);
    }
    if (status != UNZ_END_OF_LIST_OF_FILE) {
        message = "The course file " + path + " is damaged: its entries cannot be walked.";
        return false;
    }
    return true;
}

// Reads one entry's data, never more than it claims (which the limits already bound).
bool read_entry(unzFile zip, const std::string& path, const ArchiveEntry& entry, std::string& data, std::string& message)
{
    data.clear();
    unz64_file_pos position = entry.position;
    if (unzGoToFilePos64(zip, &position) != UNZ_OK || unzOpenCurrentFile(zip) != UNZ_OK) {
        message = "The course file " + path + " is damaged: " + entry.storedName + " cannot be opened.";
        return false;
    }
    char chunk[COPY_CHUNK];
    bool ok = true;
    for (;;) {
        int n = unzReadCurrentFile(zip, chunk, sizeof chunk);
        if (n < 0) { ok = false; break; }
        if (n == 0) break;
        if (data.size() + static_cast<size_t>(n) > entry.size) {
            message = "The course file " + path + " is damaged: " + entry.storedName + " is larger than it claims.";
            unzCloseCurrentFile(zip);
            return false;
        }
        data.append(chunk, static_cast<size_t>(n));
    }
    if (unzCloseCurrentFile(zip) != UNZ_OK) ok = false;   // also reports a CRC mismatch
    if (!ok || data.size() != entry.size) {
        message = "The course file " + path + " is damaged: " + entry.storedName + " cannot be unpacked.";
        return false;
    }
    return true;
}

void set_modification_time(const std::string& file, const tm_unz& date)
{
    std::tm local = {};
    local.tm_year = static_cast<int>(date.tm_year) - 1900;
    local.tm_mon = static_cast<int>(date.tm_mon);
    local.tm_mday = static_cast<int>(date.tm_mday);
    local.tm_hour = static_cast<int>(date.tm_hour);
    local.tm_min = static_cast<int>(date.tm_min);
    local.tm_sec = static_cast<int>(date.tm_sec);
    local.tm_isdst = -1;
    std::time_t when = std::mktime(&local);
    if (when == static_cast<std::time_t>(-1)) return;
    utimbuf times = {when, when};
    utime(file.c_str(), &times);
}

// The entry a description name stands for: the last file entry of exactly that base name,
// else the last whose base name differs only in letter case (courses made on Windows).
const ArchiveEntry* find_entry(const std::vector<ArchiveEntry>& entries, std::string_view name)
{
    const ArchiveEntry* caseless = nullptr;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->directory || !is_plain_file_name(it->baseName)) continue;
        if (it->baseName == name) return &*it;
        if (!caseless && equals_ignoring_case(it->baseName, name)) caseless = &*it;
    }
    return caseless;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

// ---- description -------------------------------------------------------------------------

CourseDescription read_course_description(std::FILE* file)
{
    CourseDescription description;
    if (!file) return description;
    FieldReader reader(file);
    std::string field;
    if (!reader.next(field, NUMBER_FIELD_MAX)) {
        description.notes.push_back("the description is empty");
        return description;
    }
    description.announced = parse_decimal(field);
    int wanted = description.announced;
    if (wanted < 0) {
        description.notes.push_back("the description announces a negative number of holes");
        wanted = 0;
    }
    if (wanted > MAX_HOLES) {
        description.notes.push_back("the description announces " + std::to_string(wanted) + " holes; only the first " +
                                    std::to_string(MAX_HOLES) + " are kept");
        wanted = MAX_HOLES;
    }
    for (int k = 1; k <= wanted; ++k) {
        std::string fields[3];
        bool complete = true;
        for (int f = 0; f < 3 && complete; ++f) {
            complete = reader.next(fields[f], f == 0 ? NUMBER_FIELD_MAX : NAME_FIELD_MAX) && reader.last_terminated();
        }
        if (!complete) {
            description.notes.push_back("the description announces " + std::to_string(description.announced) +
                                        " holes but describes only " + std::to_string(k - 1) + " completely");
            break;
        }
        CourseHoleEntry hole;
        const std::string hk = "hole " + std::to_string(k);

        int par = parse_decimal(fields[0]);
        hole.par = std::clamp(par, 0, COURSE_MAX_PAR);
        if (hole.par != par) description.notes.push_back(hk + ": par " + std::to_string(par) + " taken as " + std::to_string(hole.par));

        if (fields[1].size() >= NAME_FIELD_MAX) {
            description.notes.push_back(hk + ": the hole file name is too long");
        } else {
            hole.holeName = entry_base_name(fields[1]);
            if (!is_plain_file_name(hole.holeName)) {
                description.notes.push_back(hk + ": " + quoted(fields[1]) + " names no file");
                hole.holeName.clear();
            } else if (hole.holeName != fields[1]) {
                description.notes.push_back(hk + ": " + quoted(fields[1]) + " is read as " + quoted(hole.holeName));
            }
        }

        // The marker is recognised in any case, with or without a directory part, as the
        // name that is left once the directory is dropped.
        if (is_no_music(entry_base_name(fields[2]))) {
            hole.musicName = NO_MUSIC;
        } else if (fields[2].size() >= NAME_FIELD_MAX) {
            description.notes.push_back(hk + ": the music file name is too long; the hole has no music");
            hole.musicName = NO_MUSIC;
        } else {
            hole.musicName = entry_base_name(fields[2]);
            if (!is_plain_file_name(hole.musicName)) {
                description.notes.push_back(hk + ": " + quoted(fields[2]) + " names no file; the hole has no music");
                hole.musicName = NO_MUSIC;
            } else if (hole.musicName != fields[2]) {
                description.notes.push_back(hk + ": " + quoted(fields[2]) + " is read as " + quoted(hole.musicName));
            }
        }
        description.holes.push_back(std::move(hole));
    }
    return description;
}

CourseDescription parse_course_description(std::string_view text)
{
    if (text.empty()) return read_course_description(nullptr);
    std::unique_ptr<std::FILE, FileCloser> file(fmemopen(const_cast<char*>(text.data()), text.size(), "r"));
    return read_course_description(file.get());
}

// ---- loading and removing ----------------------------------------------------------------

std::string course_unpack_dir(const Course& from)
{
    std::string dir = bounded(from.courseDir);
    if (dir.empty()) return {};
    return join(dir, COURSE_UNPACK_DIR);
}


CourseLoadResult load_course(Course& into, const std::string& path, const std::string& unpackParent)
{
    CourseLoadResult result;
    std::string courseDir = unpackParent.empty() ? course_directory_of(path) : unpackParent;
    std::string unpackDir = join(courseDir, COURSE_UNPACK_DIR);

    std::string openedPath = path;
    UnzHandle zip(unzOpen64(path.c_str()));
    if (!zip) {
        openedPath = path + ".zip";
        zip.reset(unzOpen64(openedPath.c_str()));
    }
    if (!zip) {
        result.message = "Cannot open the course file " + path + " as a course archive.";
        return result;
    }

    std::vector<ArchiveEntry> entries;
    if (!list_entries(zip.get(), openedPath, entries, result.message)) return result;

    // The description is read straight from the archive, so a stale one left in "temp" can
    // never stand in for it.
    const ArchiveEntry* descriptionEntry = find_entry(entries, COURSE_DESCRIPTION_NAME);
    if (!descriptionEntry) {
        result.message = "The course file " + openedPath + " holds no course description (" + COURSE_DESCRIPTION_NAME + ").";
        return result;
    }
    std::string data;
    if (!read_entry(zip.get(), openedPath, *descriptionEntry, data, result.message)) return result;
    CourseDescription description = parse_course_description(data);
    result.notes = description.notes;
    if (description.holes.empty()) {
        result.message = "The course file " + openedPath + " describes no holes.";
        return result;
    }

    // Resolve every name against the archive and check that every path fits the tables.
    std::string descriptionPath = join(unpackDir, descriptionEntry->baseName);
    if (courseDir.size() >= COURSE_PATH_MAX || descriptionPath.size() >= COURSE_PATH_MAX) {
        result.message = "The folder of the course file " + openedPath + " has too long a path.";
        return result;
    }
    std::vector<std::string> holePaths, musicPaths;
    for (size_t k = 0; k < description.holes.size(); ++k) {
        CourseHoleEntry& hole = description.holes[k];
        const std::string hk = "hole " + std::to_string(k + 1);
        if (hole.holeName.empty()) {
            result.message = "The course file " + openedPath + " names no valid hole file for " + hk + ".";
            return result;
        }
        if (const ArchiveEntry* entry = find_entry(entries, hole.holeName)) {
            if (entry->baseName != hole.holeName) {
                result.notes.push_back(hk + ": " + quoted(hole.holeName) + " is read as " + quoted(entry->baseName));
            }
            hole.holeName = entry->baseName;
        } else {
            result.notes.push_back(hk + ": the hole file " + quoted(hole.holeName) + " is not in the course file");
        }
        if (hole.musicName != NO_MUSIC) {
            if (const ArchiveEntry* entry = find_entry(entries, hole.musicName)) {
                hole.musicName = entry->baseName;
            } else {
                result.notes.push_back(hk + ": the music file " + quoted(hole.musicName) + " is not in the course file");
            }
        }
        holePaths.push_back(join(unpackDir, hole.holeName));
        musicPaths.push_back(hole.musicName == NO_MUSIC ? std::string(NO_MUSIC) : join(unpackDir, hole.musicName));
        if (holePaths.back().size() >= COURSE_PATH_MAX || musicPaths.back().size() >= COURSE_PATH_MAX) {
            result.message = "The files of " + hk + " of " + openedPath + " would have too long a path.";
            return result;
        }
    }

    // Unpack every file entry under its base name; on any failure take back what was written.
    bool createdDir = !directory_exists(unpackDir);
    if (createdDir && !ensure_directory(unpackDir)) {
        result.message = "Cannot create the folder " + unpackDir + " to unpack the course.";
        return result;
    }
    std::vector<std::string> written;
    auto take_back = [&]() {
        for (const std::string& file : written) unlink(file.c_str());
        if (createdDir) rmdir(unpackDir.c_str());
    };
    for (const ArchiveEntry& entry : entries) {
        if (entry.directory) continue;
        if (!is_plain_file_name(entry.baseName)) {
            result.notes.push_back("the entry " + quoted(entry.storedName) + " names no file and is skipped");
            continue;
        }
        if (!read_entry(zip.get(), openedPath, entry, data, result.message)) {
            take_back();
            return result;
        }
        std::string target = join(unpackDir, entry.baseName);
        std::string error;
        if (!write_file_atomic(target, data, &error)) {
            result.message = "Cannot unpack the course: " + error;
            take_back();
            return result;
        }
        if (std::find(written.begin(), written.end(), target) == written.end()) written.push_back(target);
        set_modification_time(target, entry.date);
    }

    into = Course{};
    into.holeCount = static_cast<int>(description.holes.size());
    for (int k = 0; k < into.holeCount; ++k) {
        into.parTable[k] = description.holes[static_cast<size_t>(k)].par;
        copy_path(into.holeFile[k], holePaths[static_cast<size_t>(k)]);
        copy_path(into.musicFile[k], musicPaths[static_cast<size_t>(k)]);
    }
    copy_path(into.courseDir, courseDir);
    copy_path(into.descriptionPath, descriptionPath);
    result.ok = true;
    return result;
}


void remove_course_files(const Course& from, bool removeDir)
{
    std::string dir = course_unpack_dir(from);
    if (dir.empty()) return;
    std::string prefix = join(dir, "");
    // Only a plain file name directly inside the unpacking directory is ever deleted, whatever
    // the record holds; unlink never removes a directory.
    auto remove_inside = [&](const char* stored) {
        std::string path = bounded(stored);
        if (path.compare(0, prefix.size(), prefix) != 0) return;
        if (!is_plain_file_name(std::string_view(path).substr(prefix.size()))) return;
        unlink(path.c_str());
    };
    int count = std::clamp(from.holeCount, 0, MAX_HOLES);
    for (int k = 0; k < count; ++k) {
        remove_inside(from.holeFile[k]);
        if (!is_no_music(bounded(from.musicFile[k]))) remove_inside(from.musicFile[k]);
    }
    if (count > 0) {
        remove_inside(from.descriptionPath);
        if (removeDir) rmdir(dir.c_str());   // fails quietly while other files remain
    }
}

bool read_course_hole(const Course& from, int hole, HoleGrid& grid, std::string* error)
{
    if (hole < 1 || hole > std::min(from.holeCount, MAX_HOLES)) {
        if (error) *error = "This course has no hole " + std::to_string(hole) + ".";
        return false;
    }
    std::string path = bounded(from.holeFile[hole - 1]);
    if (!file_exists(path)) {
        if (error) *error = "The file of hole " + std::to_string(hole) + " (" + entry_base_name(path) + ") is missing from the course.";
        return false;
    }
    std::string readError;
    if (!read_hole_file(grid, path, &readError)) {
        if (error) *error = "The file of hole " + std::to_string(hole) + " cannot be read: " + readError;
        return false;
    }
    return true;
}

// ---- packing -----------------------------------------------------------------------------

std::string format_course_description(const std::vector<CoursePackHole>& holes)
{
    std::string text = std::to_string(holes.size()) + "*";
    for (const CoursePackHole& hole : holes) {
        text += std::to_string(hole.par) + "*" + base_name(hole.holePath) + "*";
        text += (hole.musicPath.empty() ? std::string(NO_MUSIC) : base_name(hole.musicPath)) + "*";
    }
    return text;
}

namespace {

bool read_whole_file(const std::string& path, std::string& data, std::time_t& modified, std::string& message)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        message = "Cannot read " + path + ": no such file.";
        return false;
    }
    if (static_cast<uint64_t>(st.st_size) > COURSE_MAX_ENTRY_BYTES) {
        message = path + " is larger than 32 MiB.";
        return false;
    }
    modified = st.st_mtime;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        message = "Cannot read " + path + ".";
        return false;
    }
    data.clear();
    char chunk[COPY_CHUNK];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (data.size() + n > COURSE_MAX_ENTRY_BYTES) {
            message = path + " is larger than 32 MiB.";
            return false;
        }
        data.append(chunk, n);
    }
    if (std::ferror(file.get())) {
        message = "Cannot read " + path + ".";
        return false;
    }
    return true;
}

struct PackItem {
    std::string name;
    std::string data;
    std::time_t modified = 0;
};

bool add_item(std::vector<PackItem>& items, const std::string& path, std::string& message)
{
    PackItem item;
    item.name = base_name(path);
    if (!is_plain_file_name(item.name) || item.name.find('*') != std::string::npos || item.name.size() >= 200) {
        message = "The file name " + quoted(item.name) + " cannot be stored in a course.";
        return false;
    }
    if (equals_ignoring_case(item.name, COURSE_DESCRIPTION_NAME) || is_no_music(item.name)) {
        message = "The file name " + quoted(item.name) + " is reserved.";
        return false;
    }
    if (!read_whole_file(path, item.data, item.modified, message)) return false;
    for (const PackItem& other : items) {
        if (!equals_ignoring_case(other.name, item.name)) continue;
        if (other.name == item.name && other.data == item.data) return true;   // the same file again
        message = "Two different files are both named " + quoted(item.name) + ".";
        return false;
    }
    items.push_back(std::move(item));
    return true;
}

void fill_zip_date(zip_fileinfo& info, std::time_t when)
{
    std::tm local = {};
    localtime_r(&when, &local);
    info.tmz_date.tm_sec = static_cast<uInt>(local.tm_sec);
    info.tmz_date.tm_min = static_cast<uInt>(local.tm_min);
    info.tmz_date.tm_hour = static_cast<uInt>(local.tm_hour);
    info.tmz_date.tm_mday = static_cast<uInt>(local.tm_mday);
    info.tmz_date.tm_mon = static_cast<uInt>(local.tm_mon);
    info.tmz_date.tm_year = static_cast<uInt>(local.tm_year + 1900);
}

}  // namespace

bool pack_course(const std::string& outPath, const std::vector<CoursePackHole>& holes, std::string* error)
{
    std::string message;
    auto fail = [&](const std::string& text) {
        if (error) *error = text;
        return false;
    };
    if (holes.empty()) return fail("A course needs at least one hole.");
    if (holes.size() > static_cast<size_t>(MAX_HOLES)) return fail("A course holds at most 18 holes.");

    std::vector<PackItem> items;
    PackItem description;
    description.name = COURSE_DESCRIPTION_NAME;
    description.data = format_course_description(holes);
    description.modified = std::time(nullptr);
    items.push_back(description);
    uint64_t total = description.data.size();
    for (const CoursePackHole& hole : holes) {
        if (hole.par < 0 || hole.par > COURSE_MAX_PAR) return fail("A par must lie between 0 and 99.");
        if (!add_item(items, hole.holePath, message)) return fail(message);
        if (!hole.musicPath.empty() && !add_item(items, hole.musicPath, message)) return fail(message);
    }
    for (size_t k = 1; k < items.size(); ++k) total += items[k].data.size();
    if (total > COURSE_MAX_TOTAL_BYTES) return fail("The course would unpack to more than 256 MiB.");

    std::string temporary = outPath + ".tmpXXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) return fail("Cannot create a file beside " + outPath + ".");
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);

    zipFile zip = zipOpen64(temporary.c_str(), APPEND_STATUS_CREATE);
    bool ok = zip != nullptr;
    for (size_t k = 0; ok && k < items.size(); ++k) {
        const PackItem& item = items[k];
        zip_fileinfo info = {};
        fill_zip_date(info, item.modified);
        ok = zipOpenNewFileInZip(zip, item.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                 Z_DEFAULT_COMPRESSION) == ZIP_OK;
        if (ok && !item.data.empty()) {
            ok = zipWriteInFileInZip(zip, item.data.data(), static_cast<unsigned>(item.data.size())) == ZIP_OK;
        }
        if (zipCloseFileInZip(zip) != ZIP_OK) ok = false;
    }
    if (zip && zipClose(zip, nullptr) != ZIP_OK) ok = false;
    if (ok && std::rename(temporary.c_str(), outPath.c_str()) != 0) ok = false;
    if (!ok) {
        std::remove(temporary.c_str());
        return fail("Cannot write the course file " + outPath + ".");
    }
    return true;
}
