// The bundled courses' hole sources, read from tools/courses/ in course order, for the tests
// that play or check every bundled hole.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
