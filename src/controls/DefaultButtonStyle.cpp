#include "controls/DefaultButtonStyle.h"

#include "controls/AssetColor.h"
#include "controls/ViewLayer.h"

#include <QAbstractButton>
#include <QPalette>

namespace {

constexpr char kDefaultBtn[] = "DefaultBtn_767676";
constexpr qreal kCornerRadius = 3.0;

void setContentTintWhite(QAbstractButton* button) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::white);
    button->setPalette(palette);
}

} // namespace

void applyDefaultButtonStyle(QAbstractButton* button, int side) {
    if (!button)
        return;
    setContentTintWhite(button);
    if (ViewLayer::wantsLayer(button))
        ViewLayer::setBackgroundColor(button, assetColor(kDefaultBtn));
    setContentTintWhite(button);
    ViewLayer::setWantsLayer(button, true);
    switch (side) {
    case 0:
        ViewLayer::setMaskedCorners(button, ViewLayer::MinXMinYCorner | ViewLayer::MinXMaxYCorner);
        ViewLayer::setCornerRadius(button, kCornerRadius);
        break;
    case 1:
        ViewLayer::setMaskedCorners(button, ViewLayer::AllCorners);
        ViewLayer::setCornerRadius(button, kCornerRadius);
        break;
    case 2:
        ViewLayer::setMaskedCorners(button, ViewLayer::MaxXMinYCorner | ViewLayer::MaxXMaxYCorner);
        ViewLayer::setCornerRadius(button, kCornerRadius);
        break;
    default:
        break;
    }
}

void applyDefaultButtonBackground(QAbstractButton* button) {
    if (button && ViewLayer::wantsLayer(button))
        ViewLayer::setBackgroundColor(button, assetColor(kDefaultBtn));
}
