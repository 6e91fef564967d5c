// Start-up time, from process start to the first buffer swap, of the game
// (vesk itself) and of a bare window (vesk-startup-floor), measured from
// outside: spawn with the first-swap reporter preloaded, wait for the
// child's "swapped" line, repeat.
//
// Usage: vesk-startup-bench [runs] [data folder]
// Needs a display; bench/startup.sh provides one.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Sample
{
    double wallMs = -1;   // spawn to the "swapped" line; negative on failure
    double cpuMs = 0;     // the child's user and system time, its whole life
};

Sample TimeToFirstSwap(const char* program)
{
    Sample sample;
    int out[2];
    if (pipe(out) != 0)
        return sample;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);

    char* args[] = {const_cast<char*>(program), nullptr};
    // The parent's environment, with the reporter preloaded.
    static std::vector<char*> env;
    static std::string preload = std::string("LD_PRELOAD=") + FIRST_SWAP;
    if (env.empty()) {
        for (char** e = environ; *e; ++e)
            if (std::string(*e).rfind("LD_PRELOAD=", 0) != 0)
                env.push_back(*e);
        env.push_back(&preload[0]);
        env.push_back(nullptr);
    }
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program, &actions, nullptr, args, env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0)
    {
        close(out[0]);
        return sample;
    }

    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    const auto swapped = std::chrono::steady_clock::now();
    close(out[0]);

    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || line != "swapped" || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return sample;
    sample.wallMs = std::chrono::duration<double, std::milli>(swapped - start).count();
    sample.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                   (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    return sample;
}

struct Summary
{
    double min, median, mean;
};

Summary Summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double m : ms)
        sum += m;
    const size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    return Summary{ms.front(), median, sum / double(n)};
}

} // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    const char* data = argc > 2 ? argv[2] : VESK_SOURCE_DIR;
    if (runs < 1)
    {
        std::fprintf(stderr, "usage: vesk-startup-bench [runs] [data folder]\n");
        return 2;
    }
    // The game opens Vesk.bmp and Data/ relative to its working directory.
    if (chdir(data) != 0)
    {
        std::fprintf(stderr, "vesk-startup-bench: cannot enter %s\n", data);
        return 1;
    }

    const char* const programs[] = {STARTUP_FLOOR, STARTUP_GAME};
    std::vector<double> times[2], cpu[2];
    // One unmeasured start each, so both find the libraries and data cached.
    for (int p = 0; p < 2; ++p)
        if (TimeToFirstSwap(programs[p]).wallMs < 0)
        {
            std::fprintf(stderr, "vesk-startup-bench: %s did not reach its first swap\n", programs[p]);
            return 1;
        }
    // Interleaved, so a change in machine load hits both alike.
    for (int r = 0; r < runs; ++r)
        for (int p = 0; p < 2; ++p)
        {
            const Sample sample = TimeToFirstSwap(programs[p]);
            if (sample.wallMs < 0)
            {
                std::fprintf(stderr, "vesk-startup-bench: %s failed\n", programs[p]);
                return 1;
            }
            times[p].push_back(sample.wallMs);
            cpu[p].push_back(sample.cpuMs);
        }

    const Summary floor = Summarise(times[0]);
    const Summary game = Summarise(times[1]);
    const Summary floorCpu = Summarise(cpu[0]);
    const Summary gameCpu = Summarise(cpu[1]);
    std::printf("start to first swap, %d runs each (ms)   min  median    mean   cpu median\n", runs);
    std::printf("  bare window (floor)              %8.1f %7.1f %7.1f %8.1f\n",
                floor.min, floor.median, floor.mean, floorCpu.median);
    std::printf("  game with its data               %8.1f %7.1f %7.1f %8.1f\n",
                game.min, game.median, game.mean, gameCpu.median);
    std::printf("  game / floor (medians)           %8.2f   (goal: at most 1.50)\n",
                game.median / floor.median);
    // CPU time covers each child's whole life, shutdown included; it is the
    // steadier figure on a busy machine.
    return 0;
}
