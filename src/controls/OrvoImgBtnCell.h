#pragma once

#include "controls/ImageButtonCell.h"

// An image button of the control bars: the image fills the centred square
// of half the button's width, over "GrayBG_333333".
class OrvoImgBtnCell : public ImageButtonCell {
    Q_OBJECT

public:
    explicit OrvoImgBtnCell(QWidget* parent = nullptr);

    QRectF imageRect(const QRectF& frame) const override;
    QColor cellBackgroundColor() const override;
};
