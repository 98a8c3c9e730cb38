// Whole course archives from bytes: unpacked into a private folder, every hole read, and the
// unpacked files removed again.
#include <filesystem>

#include "hole/course_archive.h"
#include "tests/fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    namespace fs = std::filesystem;
    const std::string path = fuzz_write_input("course.cor", data, size);
    const std::string parent = fuzz_scratch_dir() + "/unpack";
    fs::create_directories(parent);
    static Course into;
    CourseLoadResult result = load_course(into, path, parent);
    if (result.ok) {
        FUZZ_CHECK(into.holeCount >= 1 && into.holeCount <= MAX_HOLES);
        static HoleGrid grid;
        for (int hole = 1; hole <= into.holeCount; ++hole) read_course_hole(into, hole, grid, nullptr);
        remove_course_files(into, true);
    }
    // Nothing may land outside the unpacking folder, and a refused archive leaves nothing.
    for (const auto& entry : fs::directory_iterator(fuzz_scratch_dir())) {
        const std::string name = entry.path().filename().string();
        FUZZ_CHECK(name == "course.cor" || name == "unpack");
    }
    if (!result.ok) FUZZ_CHECK(!fs::exists(parent + "/" + COURSE_UNPACK_DIR));
    fs::remove_all(parent);
    return 0;
}
