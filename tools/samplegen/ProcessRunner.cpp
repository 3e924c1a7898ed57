#include "ProcessRunner.h"

#include "SampleGen.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace samplegen {

int ProcessRunner::start(const std::vector<std::string>& argv, const std::string& logPath) {
    if (argv.empty())
        throw SampleGenError("no program to run");
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw SampleGenError("cannot start " + argv[0] + ": " + std::strerror(rc));
    return pid;
}

int ProcessRunner::wait(int pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int ProcessRunner::run(const std::vector<std::string>& argv, const std::string& logPath) {
    return wait(start(argv, logPath));
}

std::string ProcessRunner::ffmpegProgram() {
    const char* program = std::getenv("KAVRIN_FFMPEG");
    return program && *program ? program : "ffmpeg";
}

} // namespace samplegen
