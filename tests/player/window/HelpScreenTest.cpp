// The help screen: its colours, its close button, and the keys it lists in each language.
#include "controls/ViewLayer.h"
#include "platform/system/Localization.h"
#include "platform/system/UserDefaults.h"
#include "player/window/HelpViewController.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

bool sameColor(QColor a, QColor b, int tolerance = 2) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

} // namespace

TEST(HelpViewControllerTest, ColoursItsViewsAndClosesOnConfirm) {
    HelpViewController help;
    help.loadViewIfNeeded();
    ASSERT_TRUE(help.backgroundView && help.stackView && help.seperator && help.leftView && help.rightView);
    help.show();
    help.resize(800, 440);
    QApplication::processEvents();
    EXPECT_EQ(ViewLayer::backgroundColor(help.backgroundView).alpha(), 51);
    EXPECT_TRUE(sameColor(ViewLayer::backgroundColor(help.seperator), QColor(Qt::black)));
    auto* confirm = help.findChild<QPushButton*>(QStringLiteral("confirmBtn"));
    ASSERT_NE(confirm, nullptr);
    confirm->click();
    EXPECT_FALSE(help.isVisible());
}

TEST(HelpViewControllerTest, ListsTheControlsOfTheRunningInterface) {
    const QString stored = QString::fromLatin1(UserDefaults::kAppleLanguages);
    for (const char* language : {"en", "ko", "ja"}) {
        SCOPED_TRACE(language);
        UserDefaults::standard().set(stored, QStringList{QLatin1String(language)});
        loadInterfaceLanguage();
        HelpViewController help;
        help.loadViewIfNeeded();
        help.show();
        QApplication::processEvents();
        // The rows shown: each key beside what it does.
        QStringList shown;
        for (const QLabel* label : help.findChildren<QLabel*>())
            if (label->isVisibleTo(&help))
                shown.append(label->text());
        const bool korean = QLatin1String(language) == QLatin1String("ko");
        EXPECT_EQ(shown.contains(localized("Find recordings by district")), korean);
        EXPECT_EQ(shown.contains(localized("Search")), korean);
        for (const char* text : {"F11 / Ctrl + Return", "Full screen", "Esc", "Leave full screen", "Space"})
            EXPECT_TRUE(shown.contains(localized(text))) << text;
        // English texts only in the English help.
        EXPECT_EQ(shown.contains(QStringLiteral("Full screen")),
                  QLatin1String(language) == QLatin1String("en"));
        help.close();
    }
    setLocalizationLanguage(QString());
    UserDefaults::standard().removeObject(stored);
}
