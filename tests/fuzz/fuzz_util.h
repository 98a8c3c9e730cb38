// Shared by the fuzz targets: a private scratch folder per process and the input written to
// a file in it, for the readers that take a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

// The process's own scratch folder under $TMPDIR (made on first use).
inline const std::string& fuzz_scratch_dir()
{
    static const std::string dir = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/minigolf-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        static std::string removed = pattern;
        std::atexit([] { std::filesystem::remove_all(removed); });
        return pattern;
    }();
    return dir;
}

// Writes data to name inside the scratch folder and returns the file's path.
inline std::string fuzz_write_input(const char* name, const uint8_t* data, size_t size)
{
    std::string path = fuzz_scratch_dir() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    return path;
}

// Stops the run with a message: a property the reader promises did not hold.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)
