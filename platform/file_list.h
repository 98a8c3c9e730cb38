// Listing the files of one kind in a folder, or in several folders seen as one list.
#pragma once

#include <string>
#include <vector>

// File names in directory that end with extension (case-insensitively), sorted.
std::vector<std::string> list_files_with_extension(const std::string& directory, const std::string& extension);

struct ListedFile {
    std::string name;   // the file's name
    std::string dir;    // the folder it was found in
};

// The files ending with extension in every folder of dirs, sorted by name. A name found in
// an earlier folder hides the same name in later ones (the user's copy of a course wins
// over the bundled one). Folders that are missing or empty are skipped.
std::vector<ListedFile> merged_file_list(const std::vector<std::string>& dirs, const std::string& extension);

// The folder of name in a merged list, or "" when the list does not hold it.
std::string folder_of_listed(const std::vector<ListedFile>& files, const std::string& name);
