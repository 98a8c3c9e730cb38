// minigolf-bench players: the computer players' thinking cost per decision, and how each
// level scores on every hole of the bundled courses over seeded games.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "game/computer/computer_round.h"
#include "hole/course.h"
#include "hole/course_archive.h"
#include "hole/hole_grid.h"
#include "tools/bench/bench_commands.h"

namespace {

struct HoleStats {
    std::vector<int> strokes;
    int holesInOne = 0;
    int pickUps = 0;
};

double percentile(std::vector<double> v, double q)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t at = static_cast<size_t>(std::ceil(q * v.size())) - 1;
    return v[std::min(at, v.size() - 1)];
}

std::string run_dir()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    buffer[n] = '\0';
    std::string path = buffer;
    return path.substr(0, path.rfind('/'));
}

struct NamedHole {
    std::string label;
    std::unique_ptr<HoleGrid> grid;
};

bool load_holes(const std::string& path, std::vector<NamedHole>& out)
{
    char scratchTemplate[] = "/tmp/minigolf-bench-XXXXXX";
    const char* scratch = mkdtemp(scratchTemplate);
    if (!scratch) return false;
    auto course = std::make_unique<Course>();
    const CourseLoadResult loaded = load_course(*course, path, scratch);
    if (!loaded.ok) {
        std::fprintf(stderr, "minigolf-bench players: %s: %s\n", path.c_str(), loaded.message.c_str());
        rmdir(scratch);
        return false;
    }
    const std::string stem = path.substr(path.rfind('/') + 1);
    for (int h = 1; h <= course->holeCount; ++h) {
        NamedHole hole;
        hole.label = stem.substr(0, stem.find('.')) + " " + std::to_string(h);
        hole.grid = std::make_unique<HoleGrid>();
        clear_hole(*hole.grid);
        std::string error;
        if (read_course_hole(*course, h, *hole.grid, &error)) out.push_back(std::move(hole));
    }
    remove_course_files(*course, true);
    rmdir(scratch);
    return true;
}

}  // namespace

int bench_players(int argc, char** argv)
{
    long games = 50;
    unsigned long long seed = 1;
    std::vector<std::string> courses;
    Seat levels[3] = {Seat::Expert, Seat::Club, Seat::Novice};
    int levelCount = 3;
    for (int a = 0; a < argc; ++a) {
        const char* value = a + 1 < argc ? argv[a + 1] : nullptr;
        if (std::strcmp(argv[a], "--games") == 0 && value) {
            games = std::max(1L, std::strtol(value, nullptr, 10));
            ++a;
        } else if (std::strcmp(argv[a], "--level") == 0 && value) {
            Seat only;
            if (!seat_from_name(value, only)) {
                std::fprintf(stderr, "minigolf-bench players: --level is novice, club or expert\n");
                return 2;
            }
            levelCount = 1;
            levels[0] = only;
            ++a;
        } else if (std::strcmp(argv[a], "--seed") == 0 && value) {
            seed = std::strtoull(value, nullptr, 10);
            ++a;
        } else {
            courses.push_back(argv[a]);
        }
    }
    if (courses.empty()) {
        courses.push_back(run_dir() + "/courses/beginners.cor");
        courses.push_back(run_dir() + "/courses/championship.cor");
    }
    std::vector<NamedHole> holes;
    for (const std::string& c : courses)
        if (!load_holes(c, holes)) return 1;
    if (holes.empty()) {
        std::fprintf(stderr, "minigolf-bench players: no holes\n");
        return 1;
    }

    std::vector<std::vector<HoleStats>> stats(3, std::vector<HoleStats>(holes.size()));
    std::printf("computer players: %zu holes, %ld seeded games per hole and level (seed %llu)\n", holes.size(), games,
                seed);
    for (int l = 0; l < levelCount; ++l) {
        std::vector<double> ms, putts;
        long maxPutts = 0;
        for (size_t h = 0; h < holes.size(); ++h) {
            for (long g = 0; g < games; ++g) {
                const HoleGame game =
                    play_hole_game(*holes[h].grid, levels[l], seed, static_cast<int>(h + 1), static_cast<int>(g + 1));
                HoleStats& s = stats[l][h];
                s.strokes.push_back(game.strokes);
                s.holesInOne += game.strokes == 1;
                s.pickUps += game.pickedUp;
                for (const DecisionCost& d : game.decisions) {
                    ms.push_back(d.cpuMs);
                    putts.push_back(static_cast<double>(d.putts));
                    maxPutts = std::max(maxPutts, d.putts);
                }
            }
        }
        double meanMs = 0, meanPutts = 0;
        for (double m : ms) meanMs += m / ms.size();
        for (double p : putts) meanPutts += p / putts.size();
        std::printf("%-6s decisions %zu: putts per decision mean %.0f max %ld; CPU ms mean %.0f p95 %.0f max %.0f\n",
                    seat_name(levels[l]), ms.size(), meanPutts, maxPutts, meanMs, percentile(ms, 0.95),
                    *std::max_element(ms.begin(), ms.end()));
        std::fflush(stdout);
    }
    if (levelCount < 3) {
        // One level: its mean per hole and the par it gives (max(2, the mean rounded)), so
        // that two seed sets can be compared hole by hole.
        int parTotal = 0;
        for (size_t h = 0; h < holes.size(); ++h) {
            double sum = 0;
            for (int v : stats[0][h].strokes) sum += v;
            const double mean = sum / static_cast<double>(stats[0][h].strokes.size());
            const int par = std::max(2, static_cast<int>(std::lround(mean)));
            parTotal += par;
            std::printf("%-16s %s mean %5.2f par %d\n", holes[h].label.c_str(), seat_name(levels[0]), mean, par);
        }
        std::printf("par total %d over %zu holes\n", parTotal, holes.size());
        return 0;
    }

    std::printf("%-16s %-22s %-22s %-22s\n", "hole", "Expert mean (95%) 1s% pu", "Club", "Novice");
    int ordered = 0;
    double clubGap = 0, noviceGap = 0;
    int expertPickUps = 0;
    for (size_t h = 0; h < holes.size(); ++h) {
        std::printf("%-16s", holes[h].label.c_str());
        double means[3];
        for (int l = 0; l < 3; ++l) {
            const HoleStats& s = stats[l][h];
            double sum = 0, squares = 0;
            for (int v : s.strokes) {
                sum += v;
                squares += static_cast<double>(v) * v;
            }
            const double n = static_cast<double>(s.strokes.size());
            const double mean = sum / n;
            const double sd = n > 1 ? std::sqrt(std::max(0.0, (squares - sum * mean) / (n - 1))) : 0.0;
            means[l] = mean;
            std::printf(" %5.2f (+-%4.2f) %3.0f%% %2d", mean, 1.96 * sd / std::sqrt(n), 100.0 * s.holesInOne / n,
                        s.pickUps);
        }
        std::printf("\n");
        ordered += means[0] < means[1] && means[1] < means[2];
        clubGap += (means[1] - means[0]) / holes.size();
        noviceGap += (means[2] - means[1]) / holes.size();
        expertPickUps += stats[0][h].pickUps;
    }
    std::printf("Club - Expert %.2f strokes per hole (goal >= 0.4); Novice - Club %.2f (goal >= 0.6)\n", clubGap,
                noviceGap);
    std::printf("Expert < Club < Novice on %d of %zu holes (goal >= 24 of 27); Expert pick-ups %d (goal 0)\n", ordered,
                holes.size(), expertPickUps);
    return 0;
}
