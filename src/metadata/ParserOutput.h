#pragma once

#include <string>
#include <vector>

class QLoggingCategory;

// Where the metadata readers print their diagnostic lines: the kavrin.metadata
// log (kavrin.metadata.tokens for the trace of every sample and token), or
// the line sink of the calling thread while it has one. Work done side by
// side on several threads keeps each item's lines apart this way, and can
// print them afterwards in the order one-after-another work would have; the
// log itself is never diverted, so every other thread prints as usual all
// the while. A line whose category is off is neither formatted nor kept.
class ParserOutput {
public:
    // What a thread sink holds: each printed text with its category.
    struct Line {
        const QLoggingCategory* category;
        std::string text;
    };
    using Lines = std::vector<Line>;

    // printf(3) to the calling thread's sink, else to the kavrin.metadata log.
    __attribute__((format(printf, 1, 2))) static void printf(const char* format, ...);
    // puts(3): the text and a line feed, to the calling thread's sink, else to the kavrin.metadata log.
    static void puts(const char* text);
    // printf(3) of a per-sample or per-token trace, in kavrin.metadata.tokens.
    __attribute__((format(printf, 1, 2))) static void trace(const char* format, ...);

    // Prints lines a sink held, each in its own category (to the calling
    // thread's sink while it has one).
    static void print(const Lines& lines);

    // While it lives, the creating thread's lines go to the end of `buffer`
    // (the sink it replaced comes back when it goes).
    class ThreadSink {
    public:
        explicit ThreadSink(Lines* buffer);
        ~ThreadSink();
        ThreadSink(const ThreadSink&) = delete;
        ThreadSink& operator=(const ThreadSink&) = delete;

    private:
        Lines* m_previous;
    };
};
