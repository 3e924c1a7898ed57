#include "controls/BarSliderCell.h"

#include "controls/AssetColor.h"
#include "platform/ui/Assets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWheelEvent>

namespace {

constexpr double kBarInset = 5.0;
constexpr double kKnobSize = 16.0;

} // namespace

BarSliderCell::BarSliderCell(QWidget* parent)
    : QSlider(Qt::Horizontal, parent), m_thumbName(QStringLiteral("img_handle")) {
    setFocusPolicy(Qt::NoFocus);
}

double BarSliderCell::minValue() const {
    return m_hasScale ? m_minValue : double(minimum());
}

void BarSliderCell::setMinValue(double value) {
    m_hasScale = true;
    m_minValue = value;
}

double BarSliderCell::maxValue() const {
    return m_hasScale ? m_maxValue : double(maximum());
}

void BarSliderCell::setMaxValue(double value) {
    m_hasScale = true;
    m_maxValue = value;
}

double BarSliderCell::fraction() const {
    if (maximum() <= minimum())
        return 0.0;
    return qBound(0.0, double(value() - minimum()) / double(maximum() - minimum()), 1.0);
}

double BarSliderCell::doubleValue() const {
    if (!m_hasScale)
        return value();
    return m_minValue + fraction() * (m_maxValue - m_minValue);
}

void BarSliderCell::setDoubleValue(double value) {
    if (!m_hasScale) {
        setValue(qRound(value));
        return;
    }
    const double span = m_maxValue - m_minValue;
    const double part = span == 0.0 ? 0.0 : (value - m_minValue) / span;
    setValue(minimum() + qRound(qBound(0.0, part, 1.0) * (maximum() - minimum())));
}

void BarSliderCell::setBarThickness(double thickness) {
    m_barThickness = thickness;
    update();
}

QPixmap BarSliderCell::thumbImage() const {
    return Assets::image(m_thumbName, QSize(int(kKnobSize), int(kKnobSize)), devicePixelRatioF());
}

double BarSliderCell::knobWidth() const {
    return qMin(kKnobSize, double(height()));
}

QRectF BarSliderCell::barRect() const {
    return QRectF(0.0, (height() - m_barThickness) / 2.0, width(), m_barThickness);
}

QRectF BarSliderCell::knobRect() const {
    const double k = knobWidth();
    const double centre = k / 2.0 + fraction() * (width() - k);
    return QRectF(centre - k / 2.0, (height() - k) / 2.0, k, k);
}

void BarSliderCell::drawBar(QPainter& painter, const QRectF& rect) const {
    const double h = rect.height();
    const QRectF bar(rect.x() + kBarInset, rect.center().y() - h / 2.0, rect.width() - 2.0 * kBarInset, h);
    const double radius = h / 2.0;
    const double filled = bar.width() * fraction();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    if (filled > 0.0) {
        painter.setBrush(assetColor(QStringLiteral("KeyColor_ED6E00")));
        painter.drawRoundedRect(QRectF(bar.x(), bar.y(), filled, h), radius, radius);
    }
    if (bar.width() - filled > 0.0) {
        painter.setBrush(assetColor(QStringLiteral("SliderBG_616161")));
        painter.drawRoundedRect(QRectF(bar.x() + filled, bar.y(), bar.width() - filled, h), radius, radius);
    }
    painter.restore();
}

void BarSliderCell::drawKnob(QPainter& painter, const QRectF& rect) const {
    const QPixmap knob = thumbImage();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!knob.isNull()) {
        painter.drawPixmap(rect, knob, QRectF(knob.rect()));
    } else {
        painter.setPen(QPen(QColor(0, 0, 0, 90), 1.0));
        painter.setBrush(Qt::white);
        painter.drawEllipse(rect.adjusted(1, 1, -1, -1));
    }
    painter.restore();
}

void BarSliderCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled())
        painter.setOpacity(0.45);
    drawBar(painter, barRect());
    drawKnob(painter, knobRect());
}

int BarSliderCell::valueAt(qreal x) const {
    const double k = knobWidth();
    const int span = qMax(1, int(width() - k));
    return QStyle::sliderValueFromPosition(minimum(), maximum(), qRound(x - k / 2.0), span);
}

void BarSliderCell::moveTo(qreal x) {
    const int target = valueAt(x);
    if (target == sliderPosition())
        return;
    setSliderPosition(target);
    emit activated();
}

void BarSliderCell::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || maximum() == minimum()) {
        event->ignore();
        return;
    }
    event->accept();
    setSliderDown(true);
    moveTo(event->position().x());
}

void BarSliderCell::mouseMoveEvent(QMouseEvent* event) {
    if (!isSliderDown()) {
        event->ignore();
        return;
    }
    event->accept();
    moveTo(event->position().x());
}

void BarSliderCell::mouseReleaseEvent(QMouseEvent* event) {
    if (!isSliderDown()) {
        event->ignore();
        return;
    }
    event->accept();
    moveTo(event->position().x());
    setSliderDown(false);
}

void BarSliderCell::keyPressEvent(QKeyEvent* event) {
    const int before = value();
    QSlider::keyPressEvent(event);
    if (value() != before)
        emit activated();
}

void BarSliderCell::wheelEvent(QWheelEvent* event) {
    const int before = value();
    QSlider::wheelEvent(event);
    if (value() != before)
        emit activated();
}

QSize BarSliderCell::sizeHint() const {
    return QSize(120, 20);
}

QSize BarSliderCell::minimumSizeHint() const {
    return QSize(40, int(kKnobSize));
}
