// minigolf-bench guide: what one recompute of the aim guide's path costs, from the tee of
// every hole of the bundled courses, in 72 directions at three powers.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "game/computer/aim_guide.h"
#include "hole/course.h"
#include "hole/course_archive.h"
#include "hole/hole_grid.h"
#include "tools/bench/bench_commands.h"

namespace {

std::string program_dir()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    buffer[n] = '\0';
    const std::string path = buffer;
    return path.substr(0, path.rfind('/'));
}

// Every hole of the course at path, each traced in a world of its own.
bool trace_course(const std::string& path, std::vector<double>& ms, std::vector<double>& steps, int& touched)
{
    char scratchTemplate[] = "/tmp/minigolf-bench-XXXXXX";
    const char* scratch = mkdtemp(scratchTemplate);
    if (!scratch) return false;
    auto course = std::make_unique<Course>();
    const CourseLoadResult loaded = load_course(*course, path, scratch);
    if (!loaded.ok) {
        std::fprintf(stderr, "minigolf-bench guide: %s: %s\n", path.c_str(), loaded.message.c_str());
        rmdir(scratch);
        return false;
    }
    static const double POWERS[] = {8.0, 20.8, 54.0};
    for (int h = 1; h <= course->holeCount; ++h) {
        auto table = std::make_unique<PuttTable>();
        clear_hole(table->grid);
        std::string error;
        if (!read_course_hole(*course, h, table->grid, &error) || !start_hole_play(table->world, 1)) continue;
        const BallRest rest = tee_rest(table->grid);
        for (int d = 0; d < 72; ++d)
            for (const double power : POWERS) {
                AimGuidePath path;
                ms.push_back(bench::cpu_ms([&] { path = trace_aim_guide(table->world, table->grid.tee, rest, d * 5.0, power); }));
                steps.push_back(static_cast<double>(path.steps));
                touched += path.touched;
            }
        shutdown_physics(table->world);
    }
    remove_course_files(*course, true);
    rmdir(scratch);
    return true;
}

double percentile(std::vector<double> v, double q)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t at = static_cast<size_t>(std::ceil(q * v.size())) - 1;
    return v[std::min(at, v.size() - 1)];
}

}  // namespace

int bench_guide(int argc, char** argv)
{
    std::vector<std::string> courses(argv, argv + argc);
    if (courses.empty()) {
        courses.push_back(program_dir() + "/courses/beginners.cor");
        courses.push_back(program_dir() + "/courses/championship.cor");
    }
    std::vector<double> ms, steps;
    int touched = 0;
    for (const std::string& c : courses)
        if (!trace_course(c, ms, steps, touched)) return 1;
    if (ms.empty()) {
        std::fprintf(stderr, "minigolf-bench guide: no holes\n");
        return 1;
    }
    double sum = 0, stepSum = 0;
    for (double v : ms) sum += v;
    for (double v : steps) stepSum += v;
    std::printf("aim guide recomputes %zu (ending at a contact %d)\n", ms.size(), touched);
    std::printf("CPU ms per recompute: mean %.2f  median %.2f  p95 %.2f  max %.2f\n", sum / ms.size(),
                bench::median(ms), percentile(ms, 0.95), percentile(ms, 1.0));
    std::printf("ball steps per recompute: mean %.0f  max %.0f (limit %ld)\n", stepSum / steps.size(),
                percentile(steps, 1.0), AIM_GUIDE_MAX_STEPS);
    return 0;
}
