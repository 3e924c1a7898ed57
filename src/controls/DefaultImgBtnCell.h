#pragma once

#include "controls/ImageButtonCell.h"

// An image button whose image covers the whole frame (the picture shown
// while nothing plays, the map placeholder, the meter and GPS pictures).
class DefaultImgBtnCell : public ImageButtonCell {
    Q_OBJECT

public:
    explicit DefaultImgBtnCell(QWidget* parent = nullptr);

    QRectF imageRect(const QRectF& frame) const override;
};
