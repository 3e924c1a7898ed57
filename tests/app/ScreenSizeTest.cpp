// Every screen of the storyboard at the smallest size it allows, and the two
// players at 1024 x 700, in each interface language: nothing is cut off, and
// texts keep the margins their screen uses, up to 1920 x 1080.

#include "app/MainStoryboard.h"
#include "common/EventLoopWait.h"
#include "common/PointerInput.h"
#include "controls/CustomTableHeaderView.h"
#include "controls/LeftBottomBtnCell.h"
#include "controls/OrvoGrayView.h"
#include "controls/OrvoMapView.h"
#include "controls/OrvoTableRowView.h"
#include "platform/system/Localization.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/Storyboard.h"
#include "platform/ui/ViewController.h"
#include "player/window/OrvoViewController.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

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
            // A button keeps the style's margin on either side of its title.
            text = button->text();
            room =
                button->width() - 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
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

// The window player in `language`, shown.
std::unique_ptr<OrvoViewController> windowPlayer(const char* language) {
    UserDefaults::standard().set(QString::fromLatin1(UserDefaults::kAppleLanguages),
                                 QStringList{QLatin1String(language)});
    loadInterfaceLanguage();
    registerMainStoryboard();
    std::unique_ptr<OrvoViewController> player(
        qobject_cast<OrvoViewController*>(Storyboard::named(QString::fromLatin1(StoryboardName::kMain))
                                              .instantiateController(QStringLiteral("OrvoViewController"))));
    if (player) {
        player->loadViewIfNeeded();
        player->show();
    }
    return player;
}

void forgetLanguage() {
    setLocalizationLanguage(QString());
    UserDefaults::standard().removeObject(QString::fromLatin1(UserDefaults::kAppleLanguages));
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

// The window player's texts keep the margins of its panels at the smallest size and at 1920 x 1080:
// the list's column titles clear of the dividers, a district name whole in its column (the Korean
// interface names districts, the others show "-"), the map's messages clear of the panel's edges
// by the list bar's margin, and the volume group no wider than what it holds.
TEST(ScreenSizeTest, TheWindowPlayersTextsKeepTheirMargins) {
    // Enough rows for the list to scroll.
    QList<orvoTableModel> rows;
    for (int i = 0; i < 45; ++i) {
        const char* districts[] = {"부산광역시 연제구", "서울특별시 서대문구", "경기도 수원시 팔달구"};
        orvoTableModel entry;
        entry.url = QUrl::fromLocalFile(QStringLiteral("/card/20241108-083000_F_N.mp4"));
        entry.row.Date = QStringLiteral("20241108");
        entry.row.Time = QStringLiteral("083000");
        entry.row.Channel = QStringLiteral("3CH");
        entry.row.location = QString::fromUtf8(districts[i % 3]);
        rows.append(entry);
    }
    for (const char* language : {"en", "ko", "ja"}) {
        std::unique_ptr<OrvoViewController> player = windowPlayer(language);
        ASSERT_NE(player, nullptr);
        for (const QSize size : {QSize(1024, 700).expandedTo(player->minimumSize()), QSize(1920, 1080)}) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(size.width()) + "x" +
                         std::to_string(size.height()));
            player->resize(size);
            displayedRecordingList = rows;
            player->reloadTableData();
            settle();

            QTableView* table = player->orvoTableView;
            const QHeaderView* header = table->horizontalHeader();
            for (int column = 0; column < header->count(); ++column) {
                const QString title = table->model()->headerData(column, Qt::Horizontal).toString();
                EXPECT_LE(header->fontMetrics().horizontalAdvance(title) +
                              2 * CustomTableHeaderView::kTitleInset,
                          header->sectionSize(column))
                    << title.toStdString();
            }
            const auto* cells = qobject_cast<OrvoTableRowView*>(table->itemDelegate());
            ASSERT_NE(cells, nullptr);
            const bool namesDistricts = std::string_view(language) == "ko";
            for (int row = 0; namesDistricts && row < table->model()->rowCount(); ++row) {
                for (int column = 0; column < table->model()->columnCount(); ++column) {
                    const QModelIndex index = table->model()->index(row, column);
                    QStyleOptionViewItem option;
                    option.initFrom(table->viewport());
                    option.rect = table->visualRect(index);
                    option.widget = table;
                    EXPECT_FALSE(cells->isElided(option, index)) << index.data().toString().toStdString();
                }
            }

            const int margin =
                player->findChild<QLayout*>(QStringLiteral("listBarLayout"))->contentsMargins().left();
            for (const bool connected : {true, false}) {
                player->showMapMessage(false, false, connected);
                settle();
                for (const QLabel* label : {player->mapFirstLabel.data(), player->mapSecondLabel.data()}) {
                    const int flags =
                        int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
                    const QRect text =
                        label->fontMetrics().boundingRect(label->contentsRect(), flags, label->text());
                    const QRect inPanel(label->mapTo(player->mapView.data(), text.topLeft()), text.size());
                    EXPECT_GE(inPanel.left(), margin) << label->text().toStdString();
                    EXPECT_LE(inPanel.right(), player->mapView->width() - 1 - margin)
                        << label->text().toStdString();
                }
            }

            EXPECT_LE(player->soundLayer->width(), player->soundLayer->layout()->sizeHint().width());
        }
        displayedRecordingList.reset();
    }
    forgetLanguage();
}

// The folder chooser opens at a size that shows its places and the size, kind and date of what it
// lists whole.
TEST(ScreenSizeTest, TheFolderChooserShowsItsColumnsWhole) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QDir(folder.path()).mkdir(QStringLiteral("Event"));
    for (const char* name : {"20241108-083000_F_N.mp4", "20241108-083000_R_N.avi", "README.md", "ver.txt"}) {
        QFile file(folder.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.resize(12345678);
    }
    const QString start = QString::fromLatin1(DefaultsKey::kSDcardDirectory);
    UserDefaults::standard().set(start, QUrl::fromLocalFile(folder.path()));
    for (const char* language : {"en", "ko", "ja"}) {
        SCOPED_TRACE(language);
        std::unique_ptr<OrvoViewController> player = windowPlayer(language);
        ASSERT_NE(player, nullptr);
        player->resize(QSize(1024, 700).expandedTo(player->minimumSize()));
        settle();
        QStringList cut;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QFileDialog* panel = nullptr;
            looptest::spinUntil(
                [&] { return panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); });
            auto* list = panel ? panel->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
            if (!list)
                return;
            seen = looptest::waitUntil([&] { return list->model()->rowCount(list->rootIndex()) == 5; });
            settle();
            for (int column = 1; column < list->header()->count(); ++column) {
                const int needed = static_cast<QAbstractItemView*>(list)->sizeHintForColumn(column);
                if (list->header()->sectionSize(column) < needed)
                    cut << list->model()->headerData(column, Qt::Horizontal).toString();
            }
            // The places beside the list, such as the computer and the home folder.
            if (auto* places = panel->findChild<QAbstractItemView*>(QStringLiteral("sidebar"));
                places && places->viewport()->width() < places->sizeHintForColumn(0))
                cut << QStringLiteral("places");
            EXPECT_TRUE(player->rect().contains(QRect(QPoint(), panel->size())));
            panel->reject();
        });
        pointer::click(player->openBtn, player->openBtn->rect().center());
        EXPECT_TRUE(seen);
        EXPECT_TRUE(cut.isEmpty()) << cut.join(QStringLiteral(", ")).toStdString();
    }
    UserDefaults::standard().removeObject(start);
    forgetLanguage();
}
