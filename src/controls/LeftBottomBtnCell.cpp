#include "controls/LeftBottomBtnCell.h"

#include "controls/AssetColor.h"

LeftBottomBtnCell::LeftBottomBtnCell(QWidget* parent) : ImageButtonCell(parent) {}

QRectF LeftBottomBtnCell::imageRect(const QRectF& frame) const {
    return QRectF(frame.x() + 10.0, frame.y() + 10.0, 25.0, 25.0);
}

QColor LeftBottomBtnCell::cellBackgroundColor() const {
    return assetColor(QStringLiteral("GrayBG_333333"));
}
