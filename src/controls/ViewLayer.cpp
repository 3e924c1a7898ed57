#include "controls/ViewLayer.h"

#include "controls/AssetColor.h"
#include "platform/ui/Assets.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char kWantsLayer[] = "wantsLayer";
constexpr char kBackground[] = "layerBackgroundColor";
constexpr char kRadius[] = "layerCornerRadius";
constexpr char kCorners[] = "layerMaskedCorners";
constexpr char kPaintsOwn[] = "paintsOwnLayer";
constexpr char kColorAsset[] = "layerColorAsset";

QString rgba(const QColor& c) {
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

} // namespace

bool ViewLayer::wantsLayer(const QWidget* view) {
    return view && view->property(kWantsLayer).toBool();
}

void ViewLayer::setWantsLayer(QWidget* view, bool wants) {
    if (view)
        view->setProperty(kWantsLayer, wants);
}

QColor ViewLayer::backgroundColor(const QWidget* view) {
    if (!view)
        return {};
    return view->property(kBackground).value<QColor>();
}

void ViewLayer::setBackgroundColor(QWidget* view, const QColor& color, bool redraw) {
    if (!view)
        return;
    setWantsLayer(view, true);
    view->setProperty(kBackground, color.isValid() && color.alpha() > 0 ? QVariant(color) : QVariant());
    if (redraw)
        refresh(view);
}

qreal ViewLayer::cornerRadius(const QWidget* view) {
    return view ? view->property(kRadius).toReal() : 0.0;
}

void ViewLayer::setCornerRadius(QWidget* view, qreal radius) {
    if (!view)
        return;
    view->setProperty(kRadius, radius);
    refresh(view);
}

int ViewLayer::maskedCorners(const QWidget* view) {
    if (!view)
        return AllCorners;
    const QVariant corners = view->property(kCorners);
    return corners.isValid() ? corners.toInt() : int(AllCorners);
}

void ViewLayer::setMaskedCorners(QWidget* view, int corners) {
    if (!view)
        return;
    view->setProperty(kCorners, corners & AllCorners);
    refresh(view);
}

void ViewLayer::setPaintsOwnLayer(QWidget* view) {
    if (view)
        view->setProperty(kPaintsOwn, true);
}

void ViewLayer::paint(QPainter& painter, const QWidget* view, QRectF rect) {
    const QColor color = backgroundColor(view);
    if (!color.isValid())
        return;
    if (rect.isNull())
        rect = QRectF(view->rect());
    const qreal radius = qMin(cornerRadius(view), qMin(rect.width(), rect.height()) / 2.0);
    const int corners = maskedCorners(view);
    painter.save();
    if (radius <= 0.0 || corners == 0) {
        painter.fillRect(rect, color);
    } else {
        // Round the masked corners only: a rounded rectangle with the square
        // corners patched back in.
        QPainterPath path;
        path.addRoundedRect(rect, radius, radius);
        const QSizeF r(radius, radius);
        if (!(corners & MinXMinYCorner))
            path.addRect(QRectF(rect.topLeft(), r));
        if (!(corners & MaxXMinYCorner))
            path.addRect(QRectF(QPointF(rect.right() - radius, rect.top()), r));
        if (!(corners & MinXMaxYCorner))
            path.addRect(QRectF(QPointF(rect.left(), rect.bottom() - radius), r));
        if (!(corners & MaxXMaxYCorner))
            path.addRect(QRectF(QPointF(rect.right() - radius, rect.bottom() - radius), r));
        path.setFillRule(Qt::WindingFill);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawPath(path.simplified());
    }
    painter.restore();
}

void ViewLayer::applyStoryboardLayers(QWidget* root) {
    if (!root)
        return;
    QList<QWidget*> views = root->findChildren<QWidget*>();
    views.prepend(root);
    for (QWidget* view : views) {
        const QVariant asset = view->property(kColorAsset);
        if (!asset.isValid())
            continue;
        // A catalogue colour, or a plain colour name ("black", "white").
        const QString name = asset.toString();
        if (!Assets::hasColor(name) && QColor::isValidColorName(name))
            setBackgroundColor(view, QColor::fromString(name));
        else
            setBackgroundColor(view, assetColor(name));
    }
}

void ViewLayer::refresh(QWidget* view) {
    if (view->property(kPaintsOwn).toBool()) {
        view->update();
        return;
    }
    const QColor color = backgroundColor(view);
    if (auto* button = qobject_cast<QAbstractButton*>(view)) {
        // A plain button draws its layer through a style sheet.
        if (!color.isValid()) {
            button->setStyleSheet(QString());
            return;
        }
        const qreal radius = cornerRadius(view);
        const int corners = maskedCorners(view);
        const auto corner = [&](int bit) { return (corners & bit) ? radius : 0.0; };
        button->setStyleSheet(
            QStringLiteral("QAbstractButton { background-color: %1; border: none; color: white; "
                           "border-top-left-radius: %2px; border-top-right-radius: %3px; "
                           "border-bottom-left-radius: %4px; border-bottom-right-radius: %5px; }")
                .arg(rgba(color))
                .arg(corner(MinXMinYCorner))
                .arg(corner(MaxXMinYCorner))
                .arg(corner(MinXMaxYCorner))
                .arg(corner(MaxXMaxYCorner)));
        return;
    }
    // A plain view shows its layer as its window background.
    if (!color.isValid()) {
        view->setAutoFillBackground(false);
        view->update();
        return;
    }
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, color);
    view->setPalette(palette);
    view->setAutoFillBackground(true);
    view->update();
}
