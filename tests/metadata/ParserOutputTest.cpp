// The readers' lines reach the log in their own categories: what a file's parse
// prints about it in kavrin.metadata, the trace of every token in
// kavrin.metadata.tokens, off unless asked for.

#include "metadata/ParserOutput.h"
#include "metadata/AmbaParser.h"

#include "Mp4Builder.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Entry = std::pair<std::string, std::string>; // category, message

std::mutex g_mutex;
std::vector<Entry> g_entries;

void record(QtMsgType, const QMessageLogContext& context, const QString& message) {
    const std::lock_guard lock(g_mutex);
    g_entries.emplace_back(context.category ? context.category : "", message.toStdString());
}

class ParserOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_entries.clear();
        m_previous = qInstallMessageHandler(record);
    }
    void TearDown() override {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
    }
    static std::vector<Entry> entriesIn(const std::string& category) {
        std::vector<Entry> found;
        for (const Entry& e : g_entries)
            if (e.first == category)
                found.push_back(e);
        return found;
    }

private:
    QtMessageHandler m_previous = nullptr;
};

} // namespace

TEST_F(ParserOutputTest, EachKindOfLineGoesToItsCategory) {
    const struct {
        const char* label;
        const char* rules;
        void (*print)();
        std::vector<Entry> expected;
    } cases[] = {
        {"printf",
         "",
         [] { ParserOutput::printf("frame_count = %d\n", 5); },
         {{"kavrin.metadata", "frame_count = 5"}}},
        {"puts", "", [] { ParserOutput::puts("= TIME_ATOM ="); }, {{"kavrin.metadata", "= TIME_ATOM ="}}},
        {"puts of a line feed", "", [] { ParserOutput::puts("\n"); }, {{"kavrin.metadata", "\n"}}},
        {"printf of several lines",
         "",
         [] { ParserOutput::printf("a : %s\n b : %s\n\n", "1", "2"); },
         {{"kavrin.metadata", "a : 1\n b : 2\n"}}},
        {"trace, off by default", "", [] { ParserOutput::trace("tokens : %s\n", "x"); }, {}},
        {"trace asked for",
         "kavrin.metadata.tokens=true",
         [] { ParserOutput::trace("tokens : %s\n", "x"); },
         {{"kavrin.metadata.tokens", "tokens : x"}}},
        {"metadata silenced",
         "kavrin.metadata=false",
         [] { ParserOutput::printf("ParseData - %s\n", "f"); },
         {}},
    };
    for (const auto& c : cases) {
        QLoggingCategory::setFilterRules(QString::fromLatin1(c.rules));
        g_entries.clear();
        c.print();
        EXPECT_EQ(g_entries, c.expected) << c.label;
    }
}

// A parse prints what it found about the file, and its token trace only when asked for.
TEST_F(ParserOutputTest, AParseTracesItsTokensOnlyWhenAskedFor) {
    mp4::TempFolder folder;
    const std::string path = folder.write(
        "one.mp4",
        mp4::ambaFile(30, {mp4::ambaSample("1,2,3", "$GPRMC,120000,A,3723.1234,N,12701.5678,E,10.0")}));
    for (const bool tokens : {false, true}) {
        QLoggingCategory::setFilterRules(tokens ? QStringLiteral("kavrin.metadata.tokens=true") : QString());
        g_entries.clear();
        AmbaParser parser(false);
        parser.Parse(path.c_str());
        const std::vector<Entry> metadata = entriesIn("kavrin.metadata");
        const std::vector<Entry> traced = entriesIn("kavrin.metadata.tokens");
        EXPECT_NE(std::find(metadata.begin(), metadata.end(), Entry{"kavrin.metadata", "frame_count = 30"}),
                  metadata.end());
        EXPECT_EQ(metadata.size() + traced.size(), g_entries.size());
        if (!tokens) {
            EXPECT_TRUE(traced.empty()) << traced.front().second;
            continue;
        }
        for (const char* line : {"acc_data : 1,2,3", "AmbaParser::ParsingPacketData => token[0] = $GPRMC\r"})
            EXPECT_NE(std::find(traced.begin(), traced.end(), Entry{"kavrin.metadata.tokens", line}),
                      traced.end())
                << line;
    }
}

// A thread's sink holds its lines with their categories; printed afterwards they
// reach the log in order, each in its own category.
TEST_F(ParserOutputTest, AThreadSinkKeepsEachLinesCategory) {
    QLoggingCategory::setFilterRules(QStringLiteral("kavrin.metadata.tokens=true"));
    ParserOutput::Lines held;
    std::thread([&] {
        const ParserOutput::ThreadSink sink(&held);
        ParserOutput::printf("ParseData - %s\n", "a.mp4");
        ParserOutput::trace("token : %s\n", "A");
        ParserOutput::puts("disposeParsedModel");
    }).join();
    EXPECT_TRUE(g_entries.empty());
    ParserOutput::print(held);
    const std::vector<Entry> expected = {{"kavrin.metadata", "ParseData - a.mp4"},
                                         {"kavrin.metadata.tokens", "token : A"},
                                         {"kavrin.metadata", "disposeParsedModel"}};
    EXPECT_EQ(g_entries, expected);
}
