#pragma once

#include "controls/BarSliderCell.h"

// The slider cell of the position slider: the rounded two-colour bar with the knob image.
class OrvoSliderCell : public BarSliderCell {
    Q_OBJECT

public:
    explicit OrvoSliderCell(QWidget* parent = nullptr);
};
