#include "hole/course.h"

