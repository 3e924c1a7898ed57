#pragma once

#include <QPushButton>

// The dialogs' text push button; it adds nothing to the platform's button.
class OrvoPushBtnCell : public QPushButton {
    Q_OBJECT

public:
    explicit OrvoPushBtnCell(QWidget* parent = nullptr);
};
