#include "controls/OrvoPushBtnCell.h"

OrvoPushBtnCell::OrvoPushBtnCell(QWidget* parent) : QPushButton(parent) {}
