#include "controls/OrvoVerticalAlignText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>

OrvoVerticalAlignText::OrvoVerticalAlignText(QWidget* parent) : QLabel(parent) {
    // A text field: its text is never read as markup (file names may hold anything).
    setTextFormat(Qt::PlainText);
}

qreal OrvoVerticalAlignText::centredBaseline(const QFontMetricsF& metrics, qreal height) {
    return height * 0.5 + metrics.xHeight() * 0.5;
}

QRectF OrvoVerticalAlignText::textRect() const {
    const QFontMetricsF metrics(font());
    const qreal baseline = centredBaseline(metrics, height());
    const QRectF content = contentsRect().adjusted(margin(), 0, -margin(), 0);
    const qreal width = metrics.horizontalAdvance(text());
    qreal x = content.left();
    const Qt::Alignment horizontal =
        QStyle::visualAlignment(layoutDirection(), alignment()) & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignRight)
        x = content.right() + 1 - width;
    else if (horizontal & Qt::AlignHCenter)
        x = content.left() + (content.width() - width) / 2.0;
    return QRectF(x, baseline - metrics.ascent(), width, metrics.ascent() + metrics.descent());
}

void OrvoVerticalAlignText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const QFontMetricsF metrics(font());
    const QRectF rect = textRect();
    const QString shown = metrics.elidedText(text(), Qt::ElideMiddle, contentsRect().width());
    painter.drawText(QPointF(qMax<qreal>(rect.left(), contentsRect().left()), rect.top() + metrics.ascent()),
                     shown);
}
