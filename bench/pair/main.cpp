// bench-pair [-n RUNS] [--warmup N] NAME 'COMMAND A' 'COMMAND B'
//
// Runs A and B in turn (A B A B ...), each through /bin/sh -c with its
// output thrown away, after N warm-up runs of each that are not counted.
// Each run is timed from the start of the child to its end (wall clock) and
// by the kernel's accounting of the child (user + system time, peak
// resident size). Printed: the medians of A and B, the median, lowest and
// highest of the ratio A/B taken pair by pair (a drift of the machine's
// speed touches both commands of a pair alike), and a last line
//     ratio NAME <median A/B wall> <median A/B cpu>
// that bench/run collects. Exit status 1 when a command failed.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char **environ;

namespace {

struct Run {
    double wall = 0;
    double cpu = 0;
    long peakKb = 0;
    bool ok = false;
};

double now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

Run runOnce(const std::string &command)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const char *argv[] = {"sh", "-c", command.c_str(), nullptr};
    Run run;
    pid_t pid = 0;
    const double start = now();
    const int rc = posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char **>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.wall = now() - start;
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    run.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.peakKb = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void usage()
{
    std::fprintf(stderr, "usage: bench-pair [-n RUNS] [--warmup N] NAME 'COMMAND A' 'COMMAND B'\n");
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 7;
    int warmup = 1;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "-n" || arg == "--warmup") && i + 1 < argc) {
            const int value = std::atoi(argv[++i]);
            (arg == "-n" ? runs : warmup) = std::clamp(value, arg == "-n" ? 1 : 0, 100);
        } else {
            rest.push_back(arg);
        }
    }
    if (rest.size() != 3) {
        usage();
        return 2;
    }
    const std::string &name = rest[0], &a = rest[1], &b = rest[2];

    for (int w = 0; w < warmup; ++w) {
        runOnce(a);
        runOnce(b);
    }
    std::vector<double> aWall, bWall, aCpu, bCpu, wallRatio, cpuRatio;
    long aPeak = 0, bPeak = 0;
    bool failed = false;
    for (int r = 0; r < runs; ++r) {
        const Run ra = runOnce(a);
        const Run rb = runOnce(b);
        failed = failed || !ra.ok || !rb.ok;
        aWall.push_back(ra.wall);
        bWall.push_back(rb.wall);
        aCpu.push_back(ra.cpu);
        bCpu.push_back(rb.cpu);
        wallRatio.push_back(ra.wall / std::max(rb.wall, 1e-9));
        cpuRatio.push_back(ra.cpu / std::max(rb.cpu, 1e-9));
        aPeak = std::max(aPeak, ra.peakKb);
        bPeak = std::max(bPeak, rb.peakKb);
    }
    std::printf("%s: %d pairs after %d warm-up pair(s)\n", name.c_str(), runs, warmup);
    std::printf("  A: %s\n  B: %s\n", a.c_str(), b.c_str());
    std::printf("  wall s   A %.3f  B %.3f   A/B median %.3f (%.3f to %.3f)\n", median(aWall), median(bWall),
                median(wallRatio), *std::min_element(wallRatio.begin(), wallRatio.end()),
                *std::max_element(wallRatio.begin(), wallRatio.end()));
    std::printf("  cpu s    A %.3f  B %.3f   A/B median %.3f\n", median(aCpu), median(bCpu), median(cpuRatio));
    std::printf("  peak kB  A %ld  B %ld\n", aPeak, bPeak);
    if (failed)
        std::printf("  a command failed (exit status not 0)\n");
    std::printf("ratio %s %.3f %.3f\n", name.c_str(), median(wallRatio), median(cpuRatio));
    return failed ? 1 : 0;
}
