// The course in play: how many holes, their pars, and where their unpacked files lie.
#pragma once

#include "hole/round_state.h"

constexpr int COURSE_PATH_MAX = 260;
constexpr const char* NO_MUSIC = "NOMIDIFILEPRESENT";

struct Course {
    int holeCount = 0;                               // 0..18; 0 = no course loaded
    int parTable[MAX_HOLES] = {};                    // par of hole k at k - 1
    char holeFile[MAX_HOLES][COURSE_PATH_MAX] = {};  // unpacked hole file of hole k
    char musicFile[MAX_HOLES][COURSE_PATH_MAX] = {}; // unpacked music file, or NO_MUSIC
    char courseDir[COURSE_PATH_MAX] = {};            // directory of the course file
    char descriptionPath[COURSE_PATH_MAX] = {};      // unpacked description file
};

