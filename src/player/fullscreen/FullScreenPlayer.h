#pragma once

#include "platform/media/PlayerView.h"

// The full-screen player's video view. The mouse entering it is left to
// the platform (the background view under it tracks the mouse).
class FullScreenPlayer : public PlayerView {
    Q_OBJECT

public:
    explicit FullScreenPlayer(QWidget* parent = nullptr);

protected:
    void enterEvent(QEnterEvent* event) override;
};
