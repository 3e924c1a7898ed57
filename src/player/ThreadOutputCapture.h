#pragma once

#include <cstdio>
#include <string>

// Keeps apart what worker threads print to standard output, so that work done
// side by side can print its lines afterwards in the order the same work
// would have printed them one item after another. While a capture exists,
// standard output is routed through it: a thread that called captureInto()
// writes into its own buffer, every other thread prints as usual.
class ThreadOutputCapture {
public:
    ThreadOutputCapture();
    ~ThreadOutputCapture();
    ThreadOutputCapture(const ThreadOutputCapture&) = delete;
    ThreadOutputCapture& operator=(const ThreadOutputCapture&) = delete;

    // Sends the calling thread's standard output into `buffer`; nullptr sends it to standard output again.
    static void captureInto(std::string* buffer);

private:
    std::FILE* m_saved = nullptr;
    std::FILE* m_stream = nullptr;
};
