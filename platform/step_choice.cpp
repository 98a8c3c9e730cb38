#include "platform/step_choice.h"

#include <algorithm>

int stepped_choice(int current, int count, int step)
{
    if (count <= 0) return -1;
    const long long next = static_cast<long long>(std::clamp(current, 0, count - 1)) + step;
    return static_cast<int>(std::clamp<long long>(next, 0, count - 1));
}
