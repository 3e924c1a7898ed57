#include "platform/Localization.h"
#include "platform/Bundle.h"
#include "platform/UserDefaults.h"
#include "player/PlayerState.h"
#include "player/showAlert.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

bool hasTable(const QString& language) {
    return QFileInfo::exists(Bundle::resourcePath() + "/translations/Localizable_" + language + ".qm");
}

// What the next alert showed, read while it is open; then its only button is pressed.
struct SeenAlert {
    QString title;
    QString message;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool seen = false;
};

void answerNextAlert(SeenAlert& seen) {
    QTimer::singleShot(50, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.seen = true;
        seen.title = box->text();
        seen.message = box->informativeText();
        seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            seen.buttons.append(button->text());
        box->buttons().first()->click();
    });
}

class LocalizationTest : public ::testing::Test {
protected:
    void TearDown() override { setLocalizationLanguage(QString()); }
};

} // namespace

TEST_F(LocalizationTest, KeyIsItsOwnTextWithoutATable) {
    setLocalizationLanguage(QString());
    EXPECT_EQ(localized("Video Playback Error"), "Video Playback Error");
    EXPECT_EQ(localized(QStringLiteral("충격센서")), QStringLiteral("충격센서"));
    EXPECT_EQ(localized(""), "");
    EXPECT_FALSE(setLocalizationLanguage("xx"));
    EXPECT_TRUE(localizationLanguage().isEmpty());
}

TEST_F(LocalizationTest, TablesTranslateByLanguage) {
    if (!hasTable("ko") || !hasTable("en"))
        GTEST_SKIP() << "string tables not built";
    ASSERT_TRUE(setLocalizationLanguage("ko-KR"));
    EXPECT_EQ(localizationLanguage(), "ko");
    EXPECT_NE(localized("Video Playback Error"), "Video Playback Error");
    EXPECT_EQ(localized("no such key in any table"), "no such key in any table");
    ASSERT_TRUE(setLocalizationLanguage("en"));
    EXPECT_NE(localized(QStringLiteral("충격센서")), QStringLiteral("충격센서"));
}

TEST_F(LocalizationTest, InterfaceLanguageFollowsAppleLanguages) {
    if (!hasTable("ja") || !hasTable("en"))
        GTEST_SKIP() << "string tables not built";
    UserDefaults& defaults = UserDefaults::standard();
    defaults.set(UserDefaults::kAppleLanguages, QStringList{"ja-JP", "en-US"});
    EXPECT_EQ(loadInterfaceLanguage(), "ja");
    defaults.set(UserDefaults::kAppleLanguages, QStringList{"fr"});
    EXPECT_EQ(loadInterfaceLanguage(), "en"); // no French table: English
    defaults.set(UserDefaults::kAppleLanguages, QStringList{});
    EXPECT_EQ(loadInterfaceLanguage(), "en");
    defaults.removeObject(UserDefaults::kAppleLanguages);
}

TEST_F(LocalizationTest, AlertTranslatesTitleAndMessageButNotTheButton) {
    if (!hasTable("ko"))
        GTEST_SKIP() << "string tables not built";
    ASSERT_TRUE(setLocalizationLanguage("ko"));
    SeenAlert seen;
    answerNextAlert(seen);
    showAlert("Video Playback Error", "ffmpeg path : nil");
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, localized("Video Playback Error"));
    EXPECT_NE(seen.title, "Video Playback Error");
    EXPECT_EQ(seen.message, "ffmpeg path : nil");
    EXPECT_EQ(seen.buttons, QStringList{"OK"});
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
}

TEST_F(LocalizationTest, AlertShowsUnknownTextsAsTheyAre) {
    setLocalizationLanguage(QString());
    SeenAlert seen;
    answerNextAlert(seen);
    showAlert("Can't Play File", "FilePath : file:///tmp/a.mp4");
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, "Can't Play File");
    EXPECT_EQ(seen.message, "FilePath : file:///tmp/a.mp4");
}

TEST(Bundle, KnowsItsVersionResourcesAndFfmpeg) {
    EXPECT_EQ(Bundle::shortVersion(), QStringLiteral(KAVRIN_VERSION));
    EXPECT_EQ(Bundle::objectForInfoDictionaryKey("CFBundleShortVersionString").toString(),
              Bundle::shortVersion());
    EXPECT_EQ(Bundle::objectForInfoDictionaryKey("CFBundleName").toString(), "KavrinPlayer");
    EXPECT_FALSE(Bundle::bundleIdentifier().isEmpty());
    EXPECT_FALSE(Bundle::objectForInfoDictionaryKey("NoSuchKey").isValid());
    EXPECT_TRUE(QFileInfo(Bundle::resourcePath()).isDir()) << Bundle::resourcePath().toStdString();
    EXPECT_FALSE(Bundle::pathForResource("no-such-resource").has_value());
    EXPECT_FALSE(Bundle::pathForResource("").has_value());
    if (const auto ffmpeg = Bundle::ffmpegPath()) {
        EXPECT_TRUE(QFileInfo(*ffmpeg).isExecutable());
    }
}
