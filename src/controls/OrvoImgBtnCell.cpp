#include "controls/OrvoImgBtnCell.h"

#include "controls/AssetColor.h"

OrvoImgBtnCell::OrvoImgBtnCell(QWidget* parent) : ImageButtonCell(parent) {}

QRectF OrvoImgBtnCell::imageRect(const QRectF& frame) const {
    const qreal w = frame.width();
    return QRectF(frame.x() + w / 4.0, frame.y() + w / 4.0, w / 2.0, w / 2.0);
}

QColor OrvoImgBtnCell::cellBackgroundColor() const {
    return assetColor(QStringLiteral("GrayBG_333333"));
}
