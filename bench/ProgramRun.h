#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

// A program run to its end by a benchmark, with its resource use. Its
// standard output goes nowhere, so that its report does not mix with the
// figures; its messages stay on standard error.
struct CProgramRun {
    int status = -1;  // exit status, -1 if it did not start or did not exit
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKb = 0;

    static CProgramRun Of(std::vector<std::string> args) {
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        CProgramRun run;
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        ::posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            return run;
        }
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        run.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        run.peakKb = usage.ru_maxrss;
        return run;
    }
};
