#pragma once

#include <QComboBox>

class QImage;

// The player's pop-up button: drawn through a false-colour filter from
// black to white, so the button shows in greys whatever the accent colours.
class OrvoPopupBtnCell : public QComboBox {
    Q_OBJECT

public:
    explicit OrvoPopupBtnCell(QWidget* parent = nullptr);

    // The filter: each pixel's luminance mapped onto black (0) to white (1), alpha kept.
    static void applyFalseColor(QImage& image);

protected:
    void paintEvent(QPaintEvent* event) override;
};
