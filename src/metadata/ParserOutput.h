#pragma once

#include <string>

// Where the metadata readers print their diagnostic lines: standard output,
// or the line sink of the calling thread while it has one. Work done side by
// side on several threads keeps each item's lines apart this way, and can
// print them afterwards in the order one-after-another work would have; the
// process's standard output itself is never replaced, so every other thread
// prints as usual all the while.
class ParserOutput {
public:
    // printf(3) to the calling thread's sink, else to standard output.
    __attribute__((format(printf, 1, 2))) static void printf(const char* format, ...);
    // puts(3): the text and a line feed, to the calling thread's sink, else to standard output.
    static void puts(const char* text);

    // While it lives, the creating thread's lines go to the end of `buffer`
    // (the sink it replaced comes back when it goes).
    class ThreadSink {
    public:
        explicit ThreadSink(std::string* buffer);
        ~ThreadSink();
        ThreadSink(const ThreadSink&) = delete;
        ThreadSink& operator=(const ThreadSink&) = delete;

    private:
        std::string* m_previous;
    };
};
