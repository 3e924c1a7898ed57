#include "VolumeSliderCell.h"

VolumeSliderCell::VolumeSliderCell(QWidget* parent) : BarSliderCell(parent) {}
