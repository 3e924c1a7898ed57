// The program's log categories: what prints by default, that rules select them,
// and how the handler writes their lines.

#include "platform/system/LogCategories.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const QLoggingCategory& (*const kCategories[])() = {
    platform::lcApp,     platform::lcPlatform, platform::lcMetadata, platform::lcMetadataTokens,
    platform::lcLibrary, platform::lcPlayback, platform::lcPlayer,   platform::lcCapture,
    platform::lcSettings};

std::string g_forwarded;

void recordForwarded(QtMsgType, const QMessageLogContext& context, const QString& message) {
    g_forwarded += std::string(context.category) + ": " + message.toStdString() + "\n";
}

} // namespace

// Each row: the rules, then per category (in kCategories' order) whether its
// information and its warnings print.
TEST(LogCategoriesTest, RulesSilenceOrSelectCategories) {
    const struct {
        const char* rules;
        const char* info;
        const char* warnings;
    } cases[] = {
        {"", "111011111", "111111111"},
        {"kavrin.*=false", "000000000", "000000000"},
        {"kavrin.*.info=false", "000000000", "111111111"},
        {"kavrin.metadata.tokens=true", "111111111", "111111111"},
        {"kavrin.*=false\nkavrin.library=true", "000010000", "000010000"},
    };
    for (const auto& c : cases) {
        QLoggingCategory::setFilterRules(QString::fromLatin1(c.rules));
        std::string info, warnings;
        for (const auto category : kCategories) {
            info += category().isInfoEnabled() ? '1' : '0';
            warnings += category().isWarningEnabled() ? '1' : '0';
        }
        EXPECT_EQ(info, c.info) << c.rules;
        EXPECT_EQ(warnings, c.warnings) << c.rules;
    }
    QLoggingCategory::setFilterRules(QString());
}

// The kavrin.* lines come out as they stand, information on standard output and
// warnings on standard error; every other message goes to the handler before.
TEST(LogCategoriesTest, TheHandlerWritesTheLinesAsTheyStand) {
    static const QLoggingCategory other("qt.other");
    const struct {
        const char* label;
        void (*print)();
        const char* out;
        const char* err;
        const char* forwarded;
    } cases[] = {
        {"information", [] { platform::logLine(platform::lcLibrary(), QStringLiteral("ver.txt : 한국")); },
         "ver.txt : 한국\n", "", ""},
        {"warning", [] { qCWarning(platform::lcPlatform, "Assets: cannot read %s", "x.json"); }, "",
         "Assets: cannot read x.json\n", ""},
        {"off by default", [] { platform::logLine(platform::lcMetadataTokens(), "tokens : x"); }, "", "", ""},
        {"another category", [] { qCWarning(other, "kept"); }, "", "", "qt.other: kept\n"},
    };
    platform::installLogLineHandler();
    const QtMessageHandler previous = platform::detail::previousLogHandler();
    platform::detail::previousLogHandler() = recordForwarded;
    for (const auto& c : cases) {
        g_forwarded.clear();
        std::fflush(stdout);
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        c.print();
        const std::string err = ::testing::internal::GetCapturedStderr();
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, c.out) << c.label;
        EXPECT_EQ(err, c.err) << c.label;
        EXPECT_EQ(g_forwarded, c.forwarded) << c.label;
    }
    platform::detail::previousLogHandler() = previous;
}
