#include "player/window/ChannelLayout.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

ChannelLayout::ChannelLayout(QWidget* container) : QObject(container), m_container(container) {
    if (container)
        container->installEventFilter(this);
}

ChannelLayout::Arrangement ChannelLayout::pairArrangement(QSizeF container) {
    const double w = container.width();
    const double h = container.height();
    const double sideBySide = (w * kHalf) * std::min(h, w * kHalf / kPictureAspect);
    const double stacked = (h * kHalf) * std::min(w, h * kHalf * kPictureAspect);
    return sideBySide > stacked ? Arrangement::SideBySide : Arrangement::Stacked;
}

std::optional<QRect> ChannelLayout::frameOf(Arrangement arrangement, int single, int index, QSize container) {
    const int w = container.width();
    const int h = container.height();
    const int halfW = static_cast<int>(std::lround(w * kHalf));
    const int halfH = static_cast<int>(std::lround(h * kHalf));
    switch (arrangement) {
    case Arrangement::None:
        return std::nullopt;
    case Arrangement::Single:
        if (index != single)
            return std::nullopt;
        return QRect(0, 0, w, h);
    // In whole points the second half takes what the first leaves, so that
    // the views tile the container exactly.
    case Arrangement::SideBySide:
        if (index == 0)
            return QRect(0, 0, halfW, h);
        if (index == 1)
            return QRect(halfW, 0, w - halfW, h);
        return std::nullopt;
    case Arrangement::Stacked:
        if (index == 0)
            return QRect(0, 0, w, halfH);
        if (index == 1)
            return QRect(0, halfH, w, h - halfH);
        return std::nullopt;
    case Arrangement::Grid:
        // The right column and the bottom row reach the container's edges.
        switch (index) {
        case 0:
            return QRect(0, 0, halfW, halfH);
        case 1:
            return QRect(halfW, 0, w - halfW, halfH);
        case 2:
            return QRect(0, halfH, halfW, h - halfH);
        case 3:
            return QRect(halfW, halfH, w - halfW, h - halfH);
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void ChannelLayout::setViews(const QList<QWidget*>& views) {
    m_views.clear();
    for (QWidget* view : views)
        m_views.append(view);
}

void ChannelLayout::arrange(Arrangement arrangement, int single) {
    m_arrangement = arrangement;
    m_single = single;
    apply();
}

void ChannelLayout::apply() {
    if (!m_container)
        return;
    const QSize size = m_container->size();
    for (int i = 0; i < m_views.size(); ++i) {
        QWidget* view = m_views[i];
        if (!view)
            continue;
        const std::optional<QRect> frame = frameOf(m_arrangement, m_single, i, size);
        if (!frame) {
            view->hide();
            continue;
        }
        view->setGeometry(*frame);
        view->show();
    }
}

bool ChannelLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_container && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}
