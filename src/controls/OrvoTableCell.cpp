#include "controls/OrvoTableCell.h"

#include "controls/ViewLayer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

OrvoTableCell::OrvoTableCell(QWidget* parent) : QWidget(parent) {
    ViewLayer::setPaintsOwnLayer(this);
    ViewLayer::setWantsLayer(this, true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 0);
    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("tableTxt"));
    // Cells show texts from the card (dates, districts): never markup.
    text->setTextFormat(Qt::PlainText);
    text->setTextInteractionFlags(Qt::NoTextInteraction);
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(text);
    tableTxt = text;
    // Clicks go to the table under the cell.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OrvoTableCell::setBackgroundColor(const QColor& color) {
    m_backgroundColor = color;
    update();
}

void OrvoTableCell::prepareForReuse() {
    ViewLayer::setBackgroundColor(this, Qt::transparent);
    if (tableTxt)
        tableTxt->setText(QString());
}

void OrvoTableCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ViewLayer::paint(painter, this);
}
