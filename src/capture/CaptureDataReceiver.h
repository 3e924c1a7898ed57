#pragma once

#include "capture/captureData.h"

// A screen that takes the images of a still capture: the destination of "orvoToCapture".
// The window player hands the segue's captureData over through it.
class CaptureDataReceiver {
public:
    virtual ~CaptureDataReceiver() = default;
    virtual void receiveCaptureData(const captureData& data) = 0;
};
