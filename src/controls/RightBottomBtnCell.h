#pragma once

#include "controls/ImageButtonCell.h"

// An image button of the bottom right corner: a 25-point image 10 points in
// from the frame's corner, over "GrayBG_333333".
class RightBottomBtnCell : public ImageButtonCell {
    Q_OBJECT

public:
    explicit RightBottomBtnCell(QWidget* parent = nullptr);

    QRectF imageRect(const QRectF& frame) const override;
    QColor cellBackgroundColor() const override;
};
