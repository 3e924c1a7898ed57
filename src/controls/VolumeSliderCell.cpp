#include "controls/VolumeSliderCell.h"

VolumeSliderCell::VolumeSliderCell(QWidget* parent) : BarSliderCell(parent) {}
