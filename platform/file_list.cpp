#include "platform/file_list.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>

#include "platform/fs.h"

namespace {

bool ends_with_ci(const std::string& name, const std::string& ext)
{
    if (name.size() < ext.size()) return false;
    for (size_t k = 0; k < ext.size(); ++k) {
        char a = name[name.size() - ext.size() + k], b = ext[k];
        if (std::tolower(static_cast<unsigned char>(a)) != std::tolower(static_cast<unsigned char>(b))) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> list_files_with_extension(const std::string& directory, const std::string& extension)
{
    std::vector<std::string> names;
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (!dir) return names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.empty() || name[0] == '.') continue;
        if (!ends_with_ci(name, extension)) continue;
        const std::string path = directory.empty() ? name : directory + "/" + name;
        if (!file_exists(path)) continue;
        names.push_back(name);
        if (names.size() >= 2000) break;   // a folder of junk must not stall the dialog
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<ListedFile> merged_file_list(const std::vector<std::string>& dirs, const std::string& extension)
{
    std::vector<ListedFile> files;
    for (const std::string& dir : dirs) {
        for (const std::string& name : list_files_with_extension(dir, extension)) {
            if (folder_of_listed(files, name).empty()) files.push_back({name, dir.empty() ? "." : dir});
        }
    }
    std::sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) { return a.name < b.name; });
    return files;
}

std::string folder_of_listed(const std::vector<ListedFile>& files, const std::string& name)
{
    for (const ListedFile& file : files)
        if (file.name == name) return file.dir;
    return {};
}
