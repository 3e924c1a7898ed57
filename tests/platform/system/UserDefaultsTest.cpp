#include "platform/system/UserDefaults.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QSize>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Describes a value as "<kind>:<text>", the same in every process.
QString describe(const QVariant& value) {
    if (!value.isValid())
        return QStringLiteral("absent");
    QString text;
    switch (value.typeId()) {
    case QMetaType::QStringList:
        text = value.toStringList().join(QLatin1Char('|'));
        break;
    case QMetaType::QByteArray:
        text = QString::fromLatin1(value.toByteArray().toHex());
        break;
    case QMetaType::QDateTime:
        text = value.toDateTime().toString(Qt::ISODateWithMs);
        break;
    default:
        text = value.toString();
    }
    return QString::fromLatin1(value.metaType().name()) + QLatin1Char(':') + text;
}

const QStringList kKeys = {"list1", "list0", "list2", "data", "float", "integer",
                           "yes",   "no",    "text",  "url",  "date",  "missing"};

void fill(UserDefaults& defaults) {
    defaults.set("list1", QStringList{"ko"});
    defaults.set("list0", QStringList{});
    defaults.set("list2", QStringList{"ja-JP", "en-US"});
    defaults.set("data", QByteArray("\x00\x01\xff"
                                    "bookmark",
                                    11));
    defaults.set("float", 0.25f);
    defaults.set("integer", 42);
    defaults.set("yes", true);
    defaults.set("no", false);
    defaults.set("text", QStringLiteral("/media/card/DCIM"));
    defaults.set("url", QUrl::fromLocalFile("/tmp/a b"));
    defaults.set("date", QDateTime(QDate(2026, 12, 8), QTime(10, 5, 1, 250), Qt::UTC));
}

QStringList describeAll(const UserDefaults& defaults) {
    QStringList lines;
    for (const QString& key : kKeys)
        lines.append(key + QLatin1Char('=') + describe(defaults.object(key)));
    return lines;
}

} // namespace

// Run in a second process by the test below: prints what a fresh store on the
// file reads.
TEST(UserDefaultsChild, PrintsTheStore) {
    const QString file = qEnvironmentVariable("KAVRIN_DEFAULTS_CHILD_FILE");
    if (file.isEmpty())
        GTEST_SKIP() << "only run as the second process of KeepsKindsAcrossARestart";
    UserDefaults defaults(file);
    for (const QString& line : describeAll(defaults))
        std::printf("@@%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

TEST(UserDefaults, KeepsKindsAcrossARestart) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("defaults.json");
    QStringList expected;
    {
        UserDefaults defaults(file);
        fill(defaults);
        defaults.synchronize();
        expected = describeAll(defaults);
    }
    EXPECT_TRUE(expected.contains("list1=QStringList:ko"));
    EXPECT_TRUE(expected.contains("list0=QStringList:"));
    EXPECT_TRUE(expected.contains("float=double:0.25"));
    EXPECT_TRUE(expected.contains("yes=bool:true"));
    EXPECT_TRUE(expected.contains("missing=absent"));

    // A second process reads the file itself, not this process's cache.
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KAVRIN_DEFAULTS_CHILD_FILE", file);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=UserDefaultsChild.PrintsTheStore"});
    ASSERT_TRUE(child.waitForFinished(30000));
    ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    QStringList read;
    for (const QString& line : QString::fromUtf8(child.readAllStandardOutput()).split('\n')) {
        if (line.startsWith("@@"))
            read.append(line.mid(2));
    }
    EXPECT_EQ(read, expected);
}

TEST(UserDefaults, TypedReadsAnswerOnlyTheirKind) {
    QTemporaryDir dir;
    UserDefaults defaults(dir.filePath("typed.json"));
    fill(defaults);
    EXPECT_EQ(defaults.stringArray("list1"), QStringList{"ko"});
    EXPECT_FALSE(defaults.string("list1").has_value());
    EXPECT_FALSE(defaults.stringArray("text").has_value());
    EXPECT_EQ(defaults.number("float"), 0.25);
    EXPECT_EQ(defaults.number("integer"), 42.0);
    EXPECT_FALSE(defaults.number("text").has_value());
    EXPECT_FLOAT_EQ(defaults.floatForKey("float"), 0.25f);
    EXPECT_FLOAT_EQ(defaults.floatForKey("missing"), 0.0f);
    EXPECT_TRUE(defaults.boolForKey("yes"));
    EXPECT_FALSE(defaults.boolForKey("no"));
    EXPECT_FALSE(defaults.boolForKey("missing"));
    EXPECT_EQ(defaults.data("data")->size(), 11);

    defaults.removeObject("text");
    EXPECT_FALSE(defaults.contains("text"));
    EXPECT_TRUE(defaults.set("list1", QVariant())); // an invalid value removes the key
    EXPECT_FALSE(defaults.contains("list1"));
}

TEST(UserDefaults, RefusesKindsItCannotKeep) {
    QTemporaryDir dir;
    UserDefaults defaults(dir.filePath("refuse.json"));
    EXPECT_FALSE(defaults.set("size", QSize(3, 4)));
    EXPECT_FALSE(defaults.contains("size"));
    EXPECT_FALSE(defaults.set("nan", std::numeric_limits<double>::quiet_NaN()));
}

TEST(UserDefaults, UnreadableFileReadsAsEmpty) {
    QTemporaryDir dir;
    const QString file = dir.filePath("broken.json");
    {
        QFile broken(file);
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("{ not json");
    }
    UserDefaults defaults(file);
    EXPECT_FALSE(defaults.contains("Volume"));
    EXPECT_TRUE(defaults.set("Volume", 0.5));
    EXPECT_EQ(defaults.number("Volume"), 0.5);
}

TEST(UserDefaults, UnsetAppleLanguagesReadsAsTheSystemLanguages) {
    QTemporaryDir dir;
    UserDefaults defaults(dir.filePath("languages.json"));
    const std::optional<QStringList> languages = defaults.stringArray(UserDefaults::kAppleLanguages);
    ASSERT_TRUE(languages.has_value());
    EXPECT_FALSE(languages->isEmpty());
    EXPECT_FALSE(languages->contains("C"));
    EXPECT_TRUE(defaults.contains(UserDefaults::kAppleLanguages));

    defaults.set(UserDefaults::kAppleLanguages, QStringList{"ko"});
    EXPECT_EQ(defaults.stringArray(UserDefaults::kAppleLanguages), QStringList{"ko"});
    defaults.removeObject(UserDefaults::kAppleLanguages);
    EXPECT_EQ(defaults.stringArray(UserDefaults::kAppleLanguages), languages);
}

TEST(UserDefaults, StandardStoreLivesInTheXdgConfigFolder) {
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty());
    EXPECT_TRUE(UserDefaults::standard().filePath().startsWith(config))
        << UserDefaults::standard().filePath().toStdString();
}
