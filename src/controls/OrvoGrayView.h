#pragma once

#include <QWidget>

// A layer-backed view in the dark grey of the player's bars
// ("GrayBG_333333"): the window player's header bar and the search field's holder.
class OrvoGrayView : public QWidget {
    Q_OBJECT

public:
    explicit OrvoGrayView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
