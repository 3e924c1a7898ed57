#pragma once

#include <QWidget>

// The holder of the map page and its messages, drawn in "DarkGrayBG_1F1F1F".
// Placed by the storyboard only.
class OrvoMapView : public QWidget {
    Q_OBJECT

public:
    explicit OrvoMapView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
