#pragma once

#include <QSlider>

// The common part of the player's slider cells: a horizontal slider drawn
// as a rounded bar in two colours, the part up to the value in the accent
// colour "KeyColor_ED6E00" and the rest in "SliderBG_616161", with the knob
// image "img_handle". A click jumps to the clicked place; `activated` is
// sent for every change the user makes (not for changes made in code).
//
// The slider's steps are integers; `minValue`/`maxValue` give them a
// fractional scale (the position slider's 0-1) read through doubleValue().
class BarSliderCell : public QSlider {
    Q_OBJECT
    Q_PROPERTY(double minValue READ minValue WRITE setMinValue)
    Q_PROPERTY(double maxValue READ maxValue WRITE setMaxValue)
    Q_PROPERTY(double barThickness READ barThickness WRITE setBarThickness)

public:
    explicit BarSliderCell(QWidget* parent = nullptr);

    double minValue() const;
    void setMinValue(double value);
    double maxValue() const;
    void setMaxValue(double value);
    // The value on the min/max scale (the integer value without one).
    double doubleValue() const;
    void setDoubleValue(double value);
    // The part of the range up to the value, 0 to 1.
    double fraction() const;

    double barThickness() const { return m_barThickness; }
    void setBarThickness(double thickness);
    // The knob picture (null when the catalogue lacks it).
    QPixmap thumbImage() const;

    // The bar rectangle the slider draws in: the whole width, centred vertically.
    QRectF barRect() const;
    QRectF knobRect() const;
    // Draws the two-colour bar for `rect`, leaving 5 points free at each end.
    void drawBar(QPainter& painter, const QRectF& rect) const;
    void drawKnob(QPainter& painter, const QRectF& rect) const;

signals:
    // The user changed the value (click, drag, wheel or key).
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    double knobWidth() const;
    int valueAt(qreal x) const;
    void moveTo(qreal x);

    bool m_hasScale = false;
    double m_minValue = 0.0;
    double m_maxValue = 1.0;
    double m_barThickness = 4.0;
    QString m_thumbName;
};
