// The current video standard's frame size in pixels, which position editors and slide
// keyframes work in. Process-wide; hosts set it when their project's standard changes.
#pragma once

#include "platform/fw/CGeometry.h"
#include "platform/fw/KivTypes.h"

class CKivVideoStd {
public:
    /// The frame size of the default standard (625-line PAL).
    static constexpr int kDefaultWidth = 720;
    static constexpr int kDefaultHeight = 576;

    /// Width and height of the video frame; 720 x 576 until a host sets another.
    static CSize GetResSize();
    /// The frame rectangle: (0, 0, width, height).
    static CRect GetResRect();
    /// Sets the frame size; FALSE, changing nothing, unless both sides are positive.
    static BOOL SetResSize(CSize size);
};
