// The readers' lines reach the log in their own categories: what a parse finds
// about a file in kavrin.metadata, its trace of every token in
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
    g_entries.emplace_back(context.category, message.toStdString());
}

class ParserOutputTest : public ::testing::Test {
protected:
    void SetUp() override { m_previous = qInstallMessageHandler(record); }
    void TearDown() override {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
    }

private:
    QtMessageHandler m_previous = nullptr;
};

bool logged(const std::string& category, const std::string& message) {
    return std::find(g_entries.begin(), g_entries.end(), Entry{category, message}) != g_entries.end();
}

} // namespace

TEST_F(ParserOutputTest, AParseTracesItsTokensOnlyWhenAskedFor) {
    mp4::TempFolder folder;
    const std::string path = folder.write(
        "one.mp4",
        mp4::ambaFile(30, {mp4::ambaSample("1,2,3", "$GPRMC,120000,A,3723.1234,N,12701.5678,E,10.0")}));
    for (const bool tokens : {false, true}) {
        QLoggingCategory::setFilterRules(tokens ? QStringLiteral("kavrin.metadata.tokens=true") : QString());
        g_entries.clear();
        AmbaParser(false).Parse(path.c_str());
        EXPECT_TRUE(logged("kavrin.metadata", "frame_count = 30"));
        EXPECT_EQ(logged("kavrin.metadata.tokens", "acc_data : 1,2,3"), tokens);
        EXPECT_EQ(logged("kavrin.metadata.tokens", "AmbaParser::ParsingPacketData => token[0] = $GPRMC\r"),
                  tokens);
    }
}

// A thread's sink holds its lines with their categories (a printf text without
// its last line feed, a puts text whole); printed afterwards they reach the log
// in order, each in its own category.
TEST_F(ParserOutputTest, AThreadSinkKeepsEachLinesCategory) {
    QLoggingCategory::setFilterRules(QStringLiteral("kavrin.metadata.tokens=true"));
    g_entries.clear();
    ParserOutput::Lines held;
    std::thread([&] {
        const ParserOutput::ThreadSink sink(&held);
        ParserOutput::printf("ParseData - %s\n", "a.mp4");
        ParserOutput::trace("token : %s\n next_token : %s\n\n", "A", "B");
        ParserOutput::puts("\n");
    }).join();
    EXPECT_TRUE(g_entries.empty());
    ParserOutput::print(held);
    const std::vector<Entry> expected = {{"kavrin.metadata", "ParseData - a.mp4"},
                                         {"kavrin.metadata.tokens", "token : A\n next_token : B\n"},
                                         {"kavrin.metadata", "\n"}};
    EXPECT_EQ(g_entries, expected);
}
