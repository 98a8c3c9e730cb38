// The bundled courses' hole sources, read from tools/courses/ in course order, for the tests
// that play or check every bundled hole.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "tools/courses/hole_layout.h"

struct BundledHole {
    std::string course, stem;
    HoleSource source;
};

inline std::vector<BundledHole> bundled_holes()
{
    std::vector<BundledHole> holes;
    for (const char* course : {"beginners", "championship"}) {
        std::string text, error;
        CourseList list;
        const std::string dir = std::string(MG_COURSE_SOURCES);
        EXPECT_TRUE(read_text_file(dir + "/" + course + ".course", text, &error)) << error;
        EXPECT_TRUE(parse_course_list(text, list, &error)) << error;
        for (const std::string& stem : list.holes) {
            BundledHole hole{course, stem, {}};
            EXPECT_TRUE(read_text_file(dir + "/" + course + "/" + stem + ".hole", text, &error)) << error;
            EXPECT_TRUE(parse_hole_source(text, hole.source, &error)) << stem << ": " << error;
            holes.push_back(hole);
        }
    }
    return holes;
}

// Writes the bundled holes that wanted picks into folder (STEM.top), in course order, and packs
// them into the course at path, each at par 3. packed says how many went in.
inline void pack_bundled_course(const std::string& path, const std::string& folder,
                                const std::function<bool(const BundledHole& hole, size_t picked)>& wanted,
                                size_t* packed = nullptr)
{
    std::vector<CoursePackHole> holes;
    auto grid = std::make_unique<HoleGrid>();
    std::string error;
    for (const BundledHole& hole : bundled_holes()) {
        if (!wanted(hole, holes.size())) continue;
        clear_hole(*grid);
        ASSERT_TRUE(build_hole_grid(hole.source, *grid, &error)) << error;
        const std::string file = folder + "/" + hole.stem + ".top";
        ASSERT_TRUE(write_hole_file(*grid, file, &error)) << error;
        holes.push_back({file, 3, ""});
    }
    if (packed) *packed = holes.size();
    ASSERT_TRUE(pack_course(path, holes, &error)) << error;
}
