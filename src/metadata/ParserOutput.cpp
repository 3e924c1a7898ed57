#include "metadata/ParserOutput.h"

#include "platform/system/LogCategories.h"

#include <cstdarg>
#include <cstdio>

namespace {

thread_local ParserOutput::Lines* t_sink = nullptr;

// One log entry; the log adds the line feed.
void emitText(const QLoggingCategory& category, std::string text) {
    if (t_sink) {
        t_sink->push_back({&category, std::move(text)});
        return;
    }
    platform::logLine(category, text.c_str());
}

__attribute__((format(printf, 2, 0))) void emitFormatted(const QLoggingCategory& category, const char* format,
                                                         va_list args) {
    if (!category.isInfoEnabled())
        return;
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0)
        return;
    std::string text(size_t(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    // The text ends in its own line feed, which the log adds back.
    text.resize(length > 0 && text[size_t(length) - 1] == '\n' ? size_t(length) - 1 : size_t(length));
    emitText(category, std::move(text));
}

} // namespace

void ParserOutput::printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    emitFormatted(platform::lcMetadata(), format, args);
    va_end(args);
}

void ParserOutput::trace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    emitFormatted(platform::lcMetadataTokens(), format, args);
    va_end(args);
}

void ParserOutput::puts(const char* text) {
    if (platform::lcMetadata().isInfoEnabled())
        emitText(platform::lcMetadata(), text);
}

void ParserOutput::print(const Lines& lines) {
    for (const Line& line : lines) {
        if (t_sink)
            t_sink->push_back(line);
        else
            platform::logLine(*line.category, line.text.c_str());
    }
}

ParserOutput::ThreadSink::ThreadSink(Lines* buffer) : m_previous(t_sink) {
    t_sink = buffer;
}

ParserOutput::ThreadSink::~ThreadSink() {
    t_sink = m_previous;
}
