#include "platform/ui/OpenPanel.h"

#include "platform/ui/ModalSession.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeView>

#include <algorithm>

namespace {

// Room for names beside the other columns; a screen smaller than this gets nine tenths of it.
constexpr QSize kPreferredSize(800, 520);

void showColumnsWhole(QFileDialog& panel) {
    auto* list = panel.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!list)
        return;
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);

    QSize size = kPreferredSize.expandedTo(panel.sizeHint());
    if (const QScreen* screen = panel.screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    panel.resize(size);

    // The places (the computer, the home folder) as wide as their names; the list the rest.
    auto* places = panel.findChild<QAbstractItemView*>(QStringLiteral("sidebar"));
    auto* splitter = panel.findChild<QSplitter*>(QStringLiteral("splitter"));
    if (places && splitter && splitter->count() == 2) {
        const int width = places->sizeHintForColumn(0) + 2 * places->frameWidth() +
                          places->verticalScrollBar()->sizeHint().width();
        splitter->setSizes({width, std::max(0, size.width() - width)});
    }
}

} // namespace

int OpenPanel::run(QFileDialog& panel) {
    showColumnsWhole(panel);
    return ModalSession::run(panel);
}
