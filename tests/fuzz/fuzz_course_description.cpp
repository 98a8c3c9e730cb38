// Course descriptions: the reader, and a description packed again from what was read reads
// back as the same course.
#include "hole/course_archive.h"
#include "tests/fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    CourseDescription first = parse_course_description(text);
    FUZZ_CHECK(first.holes.size() <= static_cast<size_t>(MAX_HOLES));
    if (first.holes.empty()) return 0;

    std::vector<CoursePackHole> pack;
    for (const CourseHoleEntry& hole : first.holes) {
        // Packing takes files on disk; a ':' is a drive or stream separator there, so such a
        // name is never packed under itself.
        if (hole.holeName.empty() || hole.holeName.find(':') != std::string::npos ||
            hole.musicName.find(':') != std::string::npos) return 0;
        FUZZ_CHECK(hole.par >= 0 && hole.par <= COURSE_MAX_PAR);
        pack.push_back({hole.holeName, hole.par, hole.musicName == NO_MUSIC ? std::string() : hole.musicName});
    }
    CourseDescription second = parse_course_description(format_course_description(pack));
    FUZZ_CHECK(second.holes.size() == first.holes.size());
    for (size_t k = 0; k < first.holes.size(); ++k) {
        FUZZ_CHECK(second.holes[k].par == first.holes[k].par);
        FUZZ_CHECK(second.holes[k].holeName == first.holes[k].holeName);
        FUZZ_CHECK(second.holes[k].musicName == first.holes[k].musicName);
    }
    return 0;
}
