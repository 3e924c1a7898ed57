#include "platform/system/Localization.h"
#include "platform/system/Bundle.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/showAlert.h"
#include "shared/PlayerState.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
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
    const struct {
        QStringList stored;
        QString table;
        QStringList inEffect;
    } cases[] = {
        {{"ja-JP", "en-US"}, "ja", {"ja"}},
        {{"fr"}, "en", {"fr"}}, // no French table: English
        {{}, "en", {"en"}},
        {{"ko"}, "ko", {"ko"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.join(',').toStdString());
        defaults.set(UserDefaults::kAppleLanguages, c.stored);
        EXPECT_EQ(loadInterfaceLanguage(), c.table);
        EXPECT_EQ(interfaceLanguages(), c.inEffect);
        // Another language chosen during the run waits for the next start.
        defaults.set(UserDefaults::kAppleLanguages, QStringList{"ja"});
        EXPECT_EQ(interfaceLanguages(), c.inEffect);
        EXPECT_EQ(isKoreanInterface(), c.inEffect == QStringList{"ko"});
    }
    // Unloading forgets the languages of the run: the stored list is read again.
    setLocalizationLanguage(QString());
    EXPECT_EQ(interfaceLanguages(), QStringList{"ja"});
    defaults.removeObject(UserDefaults::kAppleLanguages);
}

TEST_F(LocalizationTest, TheToolkitsOwnDialogsSpeakTheChosenLanguage) {
    const struct {
        const char* language;
        QString cancel; // a standard button
        bool translated;
    } cases[] = {
        {"ko", QStringLiteral("취소"), true},
        {"ja", QStringLiteral("キャンセル"), true},
        {"en", QStringLiteral("&Cancel"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        const QString catalogue = QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                                  QStringLiteral("/qtbase_") + QLatin1String(c.language) +
                                  QStringLiteral(".qm");
        if (!hasTable(c.language) || (c.translated && !QFileInfo::exists(catalogue)))
            GTEST_SKIP() << "no catalogue for " << c.language;
        ASSERT_TRUE(setLocalizationLanguage(QLatin1String(c.language)));
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
                  QString(c.cancel).remove(QLatin1Char('&')));
        // The folder chooser of the capture and backup screens.
        QFileDialog panel;
        panel.setOption(QFileDialog::DontUseNativeDialog);
        panel.setFileMode(QFileDialog::Directory);
        const auto* lookIn = panel.findChild<QLabel*>(QStringLiteral("lookInLabel"));
        ASSERT_NE(lookIn, nullptr);
        EXPECT_EQ(lookIn->text() != QStringLiteral("Look in:"), c.translated) << lookIn->text().toStdString();
    }
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

// A notice keeps each line of its message whole while the screen has room: a Japanese sentence,
// which may break between any two letters, does not break inside a word to keep the box narrow.
TEST_F(LocalizationTest, NoticeKeepsEachLineOfItsMessageWhole) {
    if (!hasTable("ja"))
        GTEST_SKIP() << "string tables not built";
    ASSERT_TRUE(setLocalizationLanguage("ja"));
    const QString message = localized("The backup was saved in the folder \u201C%1\u201D:")
                                .arg(QStringLiteral("/home/kavrin/デスクトップ")) +
                            QStringLiteral("\n20241108-083000_F_N.mov\n20241108-083000_R_N.mov");
    int height = 0;
    int unbroken = 0;
    bool seen = false;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (const QLabel* label : box->findChildren<QLabel*>()) {
            if (label->text() != message)
                continue;
            seen = true;
            // As tall as its lines unbroken.
            height = label->heightForWidth(label->width());
            unbroken = label->heightForWidth(QWIDGETSIZE_MAX / 2);
        }
        box->buttons().first()->click();
    });
    showNotice(QStringLiteral("Backup Complete"), message);
    EXPECT_TRUE(seen);
    EXPECT_EQ(height, unbroken);
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
