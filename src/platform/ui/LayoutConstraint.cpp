#include "platform/ui/LayoutConstraint.h"

#include <QSpacerItem>
#include <QWidget>

#include <cmath>
#include <utility>

LayoutConstraint::LayoutConstraint(QString identifier, QSpacerItem* spacer, QLayout* layout,
                                   Qt::Orientation orientation)
    : m_identifier(std::move(identifier)), m_spacer(spacer), m_layout(layout), m_orientation(orientation) {}

double LayoutConstraint::constant() const {
    if (m_hasConstant || !isValid())
        return m_constant;
    const QSize hint = m_spacer->sizeHint();
    return m_orientation == Qt::Horizontal ? hint.width() : hint.height();
}

void LayoutConstraint::setConstant(double constant) {
    if (!isValid())
        return;
    m_constant = constant;
    m_hasConstant = true;
    const double rounded = std::isfinite(constant) ? std::round(constant) : 0.0;
    const int length = rounded <= 0.0 ? 0 : rounded >= 1e6 ? 1000000 : static_cast<int>(rounded);
    const QSize hint = m_spacer->sizeHint();
    if (m_orientation == Qt::Horizontal)
        m_spacer->changeSize(length, hint.height(), QSizePolicy::Fixed, QSizePolicy::Minimum);
    else
        m_spacer->changeSize(hint.width(), length, QSizePolicy::Minimum, QSizePolicy::Fixed);
    m_layout->invalidate();
    if (QWidget* owner = m_layout->parentWidget())
        owner->updateGeometry();
}
