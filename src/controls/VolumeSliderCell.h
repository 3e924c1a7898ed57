#pragma once

#include "controls/BarSliderCell.h"

// The slider cell of the volume slider: the rounded two-colour bar with the knob image.
class VolumeSliderCell : public BarSliderCell {
    Q_OBJECT

public:
    explicit VolumeSliderCell(QWidget* parent = nullptr);
};
