#include "hole/course.h"

Course course;
