// File-system helpers: atomic writes, directories made on demand, path pieces.
#pragma once

#include <string>
#include <string_view>

// Writes data to a temporary file beside path, flushes it and renames it over path, so the
// old file survives any failure. On failure returns false and puts the reason in error.
bool write_file_atomic(const std::string& path, std::string_view data, std::string* error);

// Makes sure directory dir exists (creating one level); true when it exists afterwards.
bool ensure_directory(const std::string& dir);

bool directory_exists(const std::string& dir);
bool file_exists(const std::string& path);

// The part after the last '/', '\' or ':'; all of it when there is none.
std::string base_name(std::string_view path);
// The part before the last '/' or '\', without it; empty when there is none.
std::string directory_of(std::string_view path);
// dir + "/" + name; name alone when dir is empty.
std::string join_path(const std::string& dir, const std::string& name);

// The current working directory ("" when it cannot be read).
std::string current_directory();
