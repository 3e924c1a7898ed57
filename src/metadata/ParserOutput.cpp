#include "metadata/ParserOutput.h"

#include <cstdarg>
#include <cstdio>

namespace {

thread_local std::string* t_sink = nullptr;

} // namespace

void ParserOutput::printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (!t_sink) {
        std::vprintf(format, args);
        va_end(args);
        return;
    }
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length > 0) {
        const size_t start = t_sink->size();
        t_sink->resize(start + size_t(length) + 1);
        std::vsnprintf(t_sink->data() + start, size_t(length) + 1, format, args);
        t_sink->resize(start + size_t(length));
    }
    va_end(args);
}

void ParserOutput::puts(const char* text) {
    if (!t_sink) {
        std::puts(text);
        return;
    }
    t_sink->append(text);
    t_sink->push_back('\n');
}

ParserOutput::ThreadSink::ThreadSink(std::string* buffer) : m_previous(t_sink) {
    t_sink = buffer;
}

ParserOutput::ThreadSink::~ThreadSink() {
    t_sink = m_previous;
}
