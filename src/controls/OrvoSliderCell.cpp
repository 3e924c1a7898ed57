#include "controls/OrvoSliderCell.h"

OrvoSliderCell::OrvoSliderCell(QWidget* parent) : BarSliderCell(parent) {}
