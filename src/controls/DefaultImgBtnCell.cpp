#include "controls/DefaultImgBtnCell.h"

DefaultImgBtnCell::DefaultImgBtnCell(QWidget* parent) : ImageButtonCell(parent) {}

QRectF DefaultImgBtnCell::imageRect(const QRectF& frame) const {
    return frame;
}
