// The settings screen: the language menu and what Confirm stores, the update
// switch, the card's capacity, and leaving the screen without Confirm.

#include "SettingsTestSupport.h"

#include "controls/OrvoPopupBtnCell.h"
#include "library/FolderOpener.h"
#include "platform/system/FileManager.h"
#include "platform/system/Localization.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/Workspace.h"
#include "settings/CardPackages.h"
#include "settings/SettingViewController.h"
#include "settings/UpdateCheck.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>

#include <sys/statvfs.h>

using namespace looptest;
using namespace settingstest;

namespace {

QString key(const char* name) {
    return QString::fromLatin1(name);
}

class SettingScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        cardModel.reset();
        cardVersion.reset();
        defaults().removeObject(key(DefaultsKey::kOrvoBookMark));
        defaults().removeObject(key(DefaultsKey::kAutoUpdate));
        defaults().set(key(DefaultsKey::kAppleLanguages), QStringList{QStringLiteral("en")});
    }
    void TearDown() override {
        cardModel.reset();
        cardVersion.reset();
        defaults().removeObject(key(DefaultsKey::kOrvoBookMark));
        defaults().removeObject(key(DefaultsKey::kAutoUpdate));
        defaults().set(key(DefaultsKey::kAppleLanguages), QStringList{QStringLiteral("en")});
    }

    static UserDefaults& defaults() { return UserDefaults::standard(); }

    QPointer<SettingViewController> present() {
        auto* screen = new SettingViewController;
        host.presentViewController(screen, SeguePresentation::Sheet);
        return screen;
    }

    static bool closed(const QPointer<SettingViewController>& screen) {
        return !screen || !screen->isVisible();
    }

    static void pick(SettingViewController& screen, int index) {
        screen.languageMenu->setCurrentIndex(index);
        screen.onLanguageMenuTap();
    }

    QTemporaryDir temp;
    ViewController host;
};

// A click on `widget` delivered to its window, which finds the widget under the point itself.
void clickInWindow(QWidget* widget) {
    QWidget* window = widget->window();
    const QPointF at = widget->mapTo(window, QPointF(widget->width() / 2.0, widget->height() / 2.0));
    const QPointF global = window->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &press);
    QApplication::sendEvent(window->windowHandle(), &release);
}

} // namespace

TEST_F(SettingScreenTest, TheMenuShowsTheStoredLanguageAndAnyOtherListBecomesEnglish) {
    const struct {
        const char* name;
        QVariant stored;
        int selected;
        QStringList after;
        bool complains;
    } cases[] = {
        {"en", QStringList{"en"}, 0, {"en"}, false},
        {"ko", QStringList{"ko"}, 1, {"ko"}, false},
        {"ja", QStringList{"ja"}, 2, {"ja"}, false},
        {"two languages", QStringList{"en", "ko"}, 0, {"en"}, true},
        {"region-qualified", QStringList{"ko-KR"}, 0, {"en"}, true},
        {"empty list", QStringList{}, 0, {"en"}, true},
        {"a text, not a list", QVariant(QStringLiteral("ko")), 0, {"en"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        defaults().set(key(DefaultsKey::kAppleLanguages), c.stored);
        QPointer<SettingViewController> screen;
        const QStringList printed = printedLines([&] { screen = present(); });
        QStringList titles;
        for (int i = 0; i < screen->languageMenu->count(); ++i)
            titles.append(screen->languageMenu->itemText(i));
        EXPECT_EQ(titles, (QStringList{"English", "한글", "日本語"}));
        EXPECT_EQ(screen->languageMenu->currentIndex(), c.selected);
        EXPECT_EQ(defaults().stringArray(key(DefaultsKey::kAppleLanguages)), c.after);
        EXPECT_EQ(printed.contains(QStringLiteral("nil currentLng err.")), c.complains);
        EXPECT_TRUE(screen->versionTxt->text().startsWith(QStringLiteral("Player Version ")));
        screen->onCloseBtnTap();
    }
}

TEST_F(SettingScreenTest, ConfirmStoresTheSwitchAsANumberAndAChangedLanguageWithTheRestartAlert) {
    const struct {
        const char* name;
        QStringList stored;
        std::optional<int> picked;
        bool checked;
        QStringList after;
        bool alert;
    } cases[] = {
        {"Japanese picked", {"en"}, 2, true, {"ja"}, true},
        {"stored language picked", {"ko"}, 1, false, {"ko"}, false},
        {"menu untouched", {"en"}, std::nullopt, true, {"en"}, false},
        {"picked back to the stored one", {"ja"}, 2, false, {"ja"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        defaults().set(key(DefaultsKey::kAppleLanguages), c.stored);
        QPointer<SettingViewController> screen = present();
        if (c.picked) {
            pick(*screen, 0);
            pick(*screen, *c.picked);
        }
        screen->autoUpdateBox->setChecked(c.checked);
        AlertCatcher catcher;
        screen->onConfirmBtnTap();
        EXPECT_TRUE(spinUntil([&] { return closed(screen); }));
        EXPECT_EQ(defaults().stringArray(key(DefaultsKey::kAppleLanguages)), c.after);
        const QVariant autoUpdate = defaults().object(key(DefaultsKey::kAutoUpdate));
        EXPECT_TRUE(autoUpdate.typeId() == QMetaType::Int || autoUpdate.typeId() == QMetaType::LongLong);
        EXPECT_EQ(autoUpdate.toInt(), c.checked ? 1 : 0);
        if (c.alert) {
            ASSERT_EQ(catcher.alerts.size(), 1);
            EXPECT_EQ(catcher.alerts.first().title, QStringLiteral("The Language has changed."));
            EXPECT_EQ(catcher.alerts.first().message, QStringLiteral("Please restart Kavrin Player"));
        } else {
            EXPECT_TRUE(catcher.alerts.isEmpty());
        }
    }

    // The switch shows what the next start-up does: nothing stored and 0 make no request, 1 asks.
    for (const std::optional<int> stored :
         {std::optional<int>(), std::optional<int>(0), std::optional<int>(1)}) {
        SCOPED_TRACE(stored ? std::to_string(*stored) : std::string("nothing stored"));
        if (stored)
            defaults().set(key(DefaultsKey::kAutoUpdate), *stored);
        else
            defaults().removeObject(key(DefaultsKey::kAutoUpdate));
        const bool on = stored == 1;
        QPointer<SettingViewController> screen = present();
        EXPECT_EQ(screen->autoUpdateBox->isChecked(), on);
        screen->onCloseBtnTap();
        updateChecked = false;
        int reopened = 0;
        int completed = 0;
        checkForUpdate([&] { ++reopened; }, [&](const std::optional<QUrl>&) { ++completed; });
        EXPECT_EQ(reopened, on ? 0 : 1);
        EXPECT_EQ(completed, on ? 1 : 0); // no service configured: no address at once
    }
}

TEST_F(SettingScreenTest, EscapeAndCloseLeaveWithoutStoringAnything) {
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "Close");
        defaults().set(key(DefaultsKey::kAutoUpdate), 1);
        QPointer<SettingViewController> screen = present();
        pick(*screen, 1);
        screen->autoUpdateBox->setChecked(false);
        AlertCatcher catcher;
        if (escape) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(screen, &press);
        } else {
            auto* close = screen->findChild<QPushButton*>(QStringLiteral("closeBtn"));
            ASSERT_NE(close, nullptr);
            EXPECT_TRUE(close->isVisible());
            close->click();
        }
        EXPECT_TRUE(spinUntil([&] { return closed(screen); }));
        EXPECT_EQ(defaults().stringArray(key(DefaultsKey::kAppleLanguages)), QStringList{"en"});
        EXPECT_EQ(defaults().object(key(DefaultsKey::kAutoUpdate)).toInt(), 1);
        EXPECT_TRUE(catcher.alerts.isEmpty());
    }
}

TEST_F(SettingScreenTest, TheCapacityShowsOnlyForTheCardNamedAfterItsModel) {
    EXPECT_EQ(CardPackages::capacityText(64e9, 4e9), QStringLiteral("60.00GB / 64.00GB"));
    EXPECT_EQ(CardPackages::capacityText(63.86e9, 51.52e9), QStringLiteral("12.34GB / 63.86GB"));

    const QString card = temp.path() + QStringLiteral("/KV-1000");
    const QString other = temp.path() + QStringLiteral("/DCIM");
    QDir().mkpath(card);
    QDir().mkpath(other);
    const std::optional<FileManager::FileSystemAttributes> attributes =
        FileManager::attributesOfFileSystem(card);
    ASSERT_TRUE(attributes);
    // Free is what the user may still write: the blocks kept for root do not count.
    struct statvfs info {};
    ASSERT_EQ(::statvfs(QFile::encodeName(card).constData(), &info), 0);
    EXPECT_EQ(attributes->free, double(info.f_bavail) * double(info.f_frsize));
    EXPECT_EQ(attributes->size, double(info.f_blocks) * double(info.f_frsize));
    const struct {
        const char* name;
        QString folder;
        std::optional<QString> model;
        bool shown;
    } cases[] = {
        {"the card", card, QStringLiteral("KV-1000"), true},
        {"another folder", other, QStringLiteral("KV-1000"), false},
        {"no card model", card, std::nullopt, false},
        {"no bookmark", QString(), QStringLiteral("KV-1000"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        defaults().removeObject(key(DefaultsKey::kOrvoBookMark));
        if (!c.folder.isEmpty())
            storeFolderBookmark(QUrl::fromLocalFile(c.folder));
        cardModel = c.model;
        QPointer<SettingViewController> screen = present();
        if (c.shown) {
            EXPECT_EQ(screen->volumeTxt->text(),
                      CardPackages::capacityText(attributes->size, attributes->free));
            const double fraction = (attributes->size - attributes->free) / attributes->size;
            EXPECT_EQ(screen->volumeProgress->value(), int(std::lround(fraction * 1000)));
        } else {
            EXPECT_EQ(screen->volumeTxt->text(), QStringLiteral("-- GB / -- GB"));
            EXPECT_EQ(screen->volumeProgress->value(), 0);
        }
        screen->onCloseBtnTap();
    }
}

TEST_F(SettingScreenTest, ADownloadButtonWithoutItsServiceCannotBePressedAndSaysWhy) {
    const QString base = QStringLiteral("http://127.0.0.1:9");
    const struct {
        const char* name;
        QStringList languages;
        QStringList configured; // service keys given an address
        std::optional<QString> model;
        bool firmware;
        bool speedCams;
    } cases[] = {
        {"English, nothing configured", {"en"}, {}, QStringLiteral("KV-1000"), false, false},
        {"Japanese, the English page", {"ja"}, {"englishProductSite"}, QStringLiteral("KV-1000"), true, true},
        {"Korean, only the English page",
         {"ko"},
         {"englishProductSite"},
         QStringLiteral("KV-1000"),
         false,
         false},
        {"Korean, the download server", {"ko"}, {"downloadServer"}, QStringLiteral("KV-1000"), true, true},
        {"Korean, no card: the board", {"ko"}, {"downloadServer"}, std::nullopt, false, false},
        {"Korean, the board's model", {"ko"}, {"downloadServer"}, QStringLiteral("KV-BOARD"), true, false},
        {"Korean, the board", {"ko"}, {"koreanSite"}, std::nullopt, true, true},
    };
    QList<QUrl> opened;
    Workspace::setOpenURLHandler([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QJsonObject config;
        for (const QString& service : c.configured)
            config.insert(service, base);
        config.insert(QStringLiteral("speedCamBoardModels"), QJsonArray{QStringLiteral("KV-BOARD")});
        setServiceConfigOverride(config);
        defaults().set(key(DefaultsKey::kAppleLanguages), c.languages);
        cardModel = c.model;
        cardVersion = c.model ? std::optional<QString>(QStringLiteral("1.0.9")) : std::nullopt;
        QPointer<SettingViewController> screen = present();
        ASSERT_TRUE(waitUntil([&] { return screen->isVisible(); }));
        for (const auto& [name, offered] :
             {std::pair{"firmUpdateBtn", c.firmware}, {"speedUpdateBtn", c.speedCams}}) {
            SCOPED_TRACE(name);
            auto* button = screen->findChild<QPushButton*>(QLatin1String(name));
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->isEnabled(), offered);
            EXPECT_EQ(button->toolTip().isEmpty(), offered);
            if (!offered) {
                EXPECT_EQ(button->toolTip(), localized("This service is not configured."));
                // A click on it reaches nothing.
                opened.clear();
                clickInWindow(button);
                spinFor(100);
                EXPECT_TRUE(opened.isEmpty());
            }
        }
        screen->onCloseBtnTap();
    }
    setServiceConfigOverride(std::nullopt);
    Workspace::setOpenURLHandler({});
}
