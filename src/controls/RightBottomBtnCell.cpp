#include "controls/RightBottomBtnCell.h"

#include "controls/AssetColor.h"

RightBottomBtnCell::RightBottomBtnCell(QWidget* parent) : ImageButtonCell(parent) {}

QRectF RightBottomBtnCell::imageRect(const QRectF& frame) const {
    return QRectF(frame.x() + 10.0, frame.y() + 10.0, 25.0, 25.0);
}

QColor RightBottomBtnCell::cellBackgroundColor() const {
    return assetColor(QStringLiteral("GrayBG_333333"));
}
