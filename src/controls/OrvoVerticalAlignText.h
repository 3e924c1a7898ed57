#pragma once

#include <QLabel>

class QFontMetricsF;

// A one-line text field whose text sits vertically centred in its frame,
// whatever the frame's height: the middle of the font's x-height lies on the
// frame's middle. Horizontal placement follows the label's alignment.
class OrvoVerticalAlignText : public QLabel {
    Q_OBJECT

public:
    explicit OrvoVerticalAlignText(QWidget* parent = nullptr);

    // The baseline's distance from the top of a frame `height` high.
    static qreal centredBaseline(const QFontMetricsF& metrics, qreal height);
    // The rectangle the text's ascent and descent occupy when drawn.
    QRectF textRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
