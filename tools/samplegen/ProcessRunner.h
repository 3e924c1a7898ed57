// Runs child processes (the ffmpeg executable) without a shell.
#pragma once

#include <string>
#include <vector>

namespace samplegen {

class ProcessRunner {
public:
    // Starts argv[0] (looked up on PATH) with its output appended to logPath; returns the pid.
    // Throws SampleGenError when it cannot be started.
    static int start(const std::vector<std::string>& argv, const std::string& logPath);
    // Waits for a started process; returns its exit status (-1 when it did not exit normally).
    static int wait(int pid);
    // start + wait.
    static int run(const std::vector<std::string>& argv, const std::string& logPath);
    // The ffmpeg executable: $KAVRIN_FFMPEG, else "ffmpeg" (found on PATH).
    static std::string ffmpegProgram();
};

} // namespace samplegen
