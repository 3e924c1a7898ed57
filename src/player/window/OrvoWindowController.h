#pragma once

#include "platform/ui/WindowController.h"

#include <QRect>

#include <optional>

// The controller of the application's one window: closing the window quits
// the application; entering full screen swaps the window player for the
// full-screen player, leaving it swaps a new window player back and restores
// the earlier frame.
class OrvoWindowController : public WindowController {
    Q_OBJECT

public:
    explicit OrvoWindowController(QObject* parent = nullptr);

    // The window's frame from before the last entry into full screen.
    const std::optional<QRect>& previousWindowFrame() const { return m_previousWindowFrame; }

    // Delay after leaving full screen before the earlier frame comes back.
    static constexpr double kFrameRestoreDelay = 0.1;

protected:
    void windowDidLoad() override;
    bool windowShouldClose() override;
    void windowWillEnterFullScreen() override;
    void windowWillExitFullScreen() override;
    void windowDidEndLiveResize() override;
    void windowDidMiniaturize() override;
    void windowDidDeminiaturize() override;

private:
    // Replaces the content with a new controller `identifier` from the
    // storyboard "Main"; keeps the old one when the storyboard cannot make it.
    bool swapContent(const char* identifier, std::uint8_t transition);

    std::optional<QRect> m_previousWindowFrame;
    // The restore after the last exit from full screen that has not happened yet; counted so
    // that a restore overtaken by a new entry into full screen does nothing.
    quint64 m_frameRestoreRequest = 0;
    bool m_frameRestorePending = false;
};
