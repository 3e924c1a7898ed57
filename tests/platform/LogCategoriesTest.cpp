// The program's log categories: their names, what prints by default, that rules
// select them, and how the handler writes their lines.

#include "platform/LogCategories.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

struct CategoryCase {
    const QLoggingCategory& (*category)();
    const char* name;
    bool infoByDefault;
};

const CategoryCase kCategories[] = {
    {platform::lcApp, "kavrin.app", true},
    {platform::lcPlatform, "kavrin.platform", true},
    {platform::lcMetadata, "kavrin.metadata", true},
    {platform::lcMetadataTokens, "kavrin.metadata.tokens", false},
    {platform::lcLibrary, "kavrin.library", true},
    {platform::lcPlayback, "kavrin.playback", true},
    {platform::lcPlayer, "kavrin.player", true},
    {platform::lcCapture, "kavrin.capture", true},
    {platform::lcSettings, "kavrin.settings", true},
};

class LogCategoriesTest : public ::testing::Test {
protected:
    void TearDown() override { QLoggingCategory::setFilterRules(QString()); }
};

} // namespace

TEST_F(LogCategoriesTest, EveryCategoryButTheTokenTracePrintsByDefault) {
    for (const CategoryCase& c : kCategories) {
        EXPECT_STREQ(c.category().categoryName(), c.name);
        EXPECT_EQ(c.category().isInfoEnabled(), c.infoByDefault) << c.name;
        EXPECT_TRUE(c.category().isWarningEnabled()) << c.name;
    }
}

TEST_F(LogCategoriesTest, RulesSilenceOrSelectCategories) {
    const std::set<std::string> defaults = {"kavrin.app",     "kavrin.platform", "kavrin.metadata",
                                            "kavrin.library", "kavrin.playback", "kavrin.player",
                                            "kavrin.capture", "kavrin.settings"};
    std::set<std::string> all = defaults;
    all.insert("kavrin.metadata.tokens");
    std::set<std::string> infoButPlayer = defaults;
    infoButPlayer.erase("kavrin.player");
    std::set<std::string> allButPlayer = all;
    allButPlayer.erase("kavrin.player");
    const struct {
        const char* rules;
        std::set<std::string> info;
        std::set<std::string> warnings;
    } cases[] = {
        {"kavrin.*=false", {}, {}},
        {"kavrin.*.info=false", {}, all},
        {"kavrin.metadata.tokens=true", all, all},
        {"kavrin.*=false\nkavrin.library=true", {"kavrin.library"}, {"kavrin.library"}},
        {"kavrin.player=false", infoButPlayer, allButPlayer},
    };
    for (const auto& rule : cases) {
        QLoggingCategory::setFilterRules(QString::fromLatin1(rule.rules));
        for (const CategoryCase& c : kCategories) {
            EXPECT_EQ(c.category().isInfoEnabled(), rule.info.count(c.name) == 1)
                << rule.rules << ": " << c.name;
            EXPECT_EQ(c.category().isWarningEnabled(), rule.warnings.count(c.name) == 1)
                << rule.rules << ": " << c.name;
        }
    }
}

namespace {

std::string g_forwarded;

void recordForwarded(QtMsgType, const QMessageLogContext& context, const QString& message) {
    g_forwarded +=
        std::string(context.category ? context.category : "") + ": " + message.toStdString() + "\n";
}

} // namespace

// The kavrin.* lines come out as they stand, information on standard output and
// warnings on standard error; every other message goes to the handler before.
TEST_F(LogCategoriesTest, TheHandlerWritesTheLinesAsTheyStand) {
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
        {"lines as one entry",
         [] { platform::logLine(platform::lcMetadata(), "token : a\n next_token : b\n"); },
         "token : a\n next_token : b\n\n", "", ""},
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
        std::fflush(stdout);
        const std::string err = ::testing::internal::GetCapturedStderr();
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, c.out) << c.label;
        EXPECT_EQ(err, c.err) << c.label;
        EXPECT_EQ(g_forwarded, c.forwarded) << c.label;
    }
    platform::detail::previousLogHandler() = previous;
}
