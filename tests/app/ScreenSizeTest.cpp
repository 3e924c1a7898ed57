// Every screen of the storyboard at the smallest size it allows, and the two
// players at 1024 x 700, in each interface language: nothing is cut off.

#include "app/MainStoryboard.h"
#include "platform/Localization.h"
#include "platform/Storyboard.h"
#include "platform/UserDefaults.h"
#include "platform/ViewController.h"
#include "shared/SegueIdentifiers.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Where `widget` is cut off inside `screen`: outside its parent, or too narrow for its text.
QStringList cutOff(QWidget* screen) {
    QStringList faults;
    for (QWidget* widget : screen->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(screen) || widget->isWindow())
            continue;
        bool scrolled = false; // the contents of a list scroll; they are not laid out to fit
        for (QWidget* up = widget->parentWidget(); up && up != screen; up = up->parentWidget())
            scrolled = scrolled || qobject_cast<QAbstractScrollArea*>(up);
        if (scrolled)
            continue;
        const QString name =
            widget->objectName().isEmpty() ? widget->metaObject()->className() : widget->objectName();
        const QRect inScreen(widget->mapTo(screen, QPoint(0, 0)), widget->size());
        if (!screen->rect().contains(inScreen))
            faults << name + QStringLiteral(" outside the screen");
        if (widget->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored)
            continue; // elides its text by design
        QString text;
        int room = 0;
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap() && !label->pixmap()) {
            text = label->text();
            room = label->contentsRect().width() - 2 * label->margin() - label->indent();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->icon().isNull()) {
            text = button->text();
            room = button->width() - 4;
        }
        text.remove(QLatin1Char('&'));
        if (!text.isEmpty() && !Qt::mightBeRichText(text) &&
            widget->fontMetrics().horizontalAdvance(text) > room)
            faults << name + QStringLiteral(" cuts \"") + text + QLatin1Char('"');
    }
    return faults;
}

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

} // namespace

TEST(ScreenSizeTest, EveryScreenFitsTheSmallestSizeItAllowsInEveryLanguage) {
    registerMainStoryboard();
    Storyboard& storyboard = Storyboard::named(QString::fromLatin1(StoryboardName::kMain));
    const QString languagesKey = QString::fromLatin1(UserDefaults::kAppleLanguages);
    const struct {
        const char* identifier;
        bool player; // also shown at 1024 x 700, and allowed to be no larger
    } screens[] = {
        {"OrvoViewController", true},      {"MainViewController", true},     {"CaptureViewController", false},
        {"BackupViewController", false},   {"SettingViewController", false}, {"UpdateViewController", false},
        {"ProgressViewController", false}, {"HelpViewController", false},
    };
    for (const char* language : {"en", "ko", "ja"}) {
        UserDefaults::standard().set(languagesKey, QStringList{QLatin1String(language)});
        loadInterfaceLanguage();
        for (const auto& s : screens) {
            std::unique_ptr<ViewController> screen(
                storyboard.instantiateController(QLatin1String(s.identifier)));
            ASSERT_NE(screen, nullptr) << s.identifier;
            screen->loadViewIfNeeded();
            screen->show();
            const QSize smallest = screen->minimumSize().expandedTo(QSize(1, 1));
            QList<QSize> sizes{smallest};
            if (s.player) {
                EXPECT_TRUE(smallest.width() <= 1024 && smallest.height() <= 700)
                    << s.identifier << " allows no less than " << smallest.width() << "x"
                    << smallest.height();
                sizes.append(QSize(1024, 700).expandedTo(smallest));
            }
            for (const QSize size : sizes) {
                SCOPED_TRACE(std::string(language) + " " + s.identifier + " " + std::to_string(size.width()) +
                             "x" + std::to_string(size.height()));
                screen->resize(size);
                settle();
                // What the layout needs fits in what the screen allows.
                const QSize needed = screen->layout() ? screen->layout()->minimumSize() : QSize();
                EXPECT_TRUE(needed.width() <= size.width() && needed.height() <= size.height())
                    << "the layout needs " << needed.width() << "x" << needed.height();
                const QStringList faults = cutOff(screen.get());
                EXPECT_TRUE(faults.isEmpty()) << faults.join(QStringLiteral("; ")).toStdString();
            }
        }
    }
    setLocalizationLanguage(QString());
    UserDefaults::standard().removeObject(languagesKey);
}
