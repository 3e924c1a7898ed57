#include "player/ThreadOutputCapture.h"

#include <cerrno>
#include <unistd.h>

namespace {

thread_local std::string* t_buffer = nullptr;
int g_outputFd = -1;

ssize_t writeOutput(void*, const char* data, size_t size) {
    if (t_buffer) {
        t_buffer->append(data, size);
        return ssize_t(size);
    }
    size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(g_outputFd, data + written, size - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return written > 0 ? ssize_t(written) : -1;
        }
        written += size_t(n);
    }
    return ssize_t(size);
}

} // namespace

ThreadOutputCapture::ThreadOutputCapture() {
    std::fflush(stdout);
    m_saved = stdout;
    g_outputFd = fileno(stdout);
    const cookie_io_functions_t functions{nullptr, writeOutput, nullptr, nullptr};
    m_stream = fopencookie(nullptr, "w", functions);
    if (!m_stream)
        return;
    // Unbuffered: every print reaches writeOutput on the thread that made it.
    setvbuf(m_stream, nullptr, _IONBF, 0);
    stdout = m_stream;
}

ThreadOutputCapture::~ThreadOutputCapture() {
    if (!m_stream)
        return;
    std::fflush(m_stream);
    stdout = m_saved;
    std::fclose(m_stream);
}

void ThreadOutputCapture::captureInto(std::string* buffer) {
    t_buffer = buffer;
}
