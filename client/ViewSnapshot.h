// A private notification between the stand-in host and the plug-in's GUI
// object: the host asks for the open view's pixels, for example to show the
// window in a picture without a display. Other hosts never send it.
#pragma once

#include "AAX.h"

#include <cstdint>

namespace aaxclient
{
    /** NotificationReceived type; its data is a ViewSnapshotRequest. */
    constexpr AAX_CTypeID kNotificationViewSnapshot = 0x5A4C7673; // 'ZLvs'

    /** The host's buffer for the view's pixels: width x height 32-bit ARGB
        words (non-premultiplied), row by row from the top. Width and height
        must be the view's size (GetViewSize). */
    struct ViewSnapshotRequest
    {
        int32_t width = 0;
        int32_t height = 0;
        uint32_t* argbPixels = nullptr;
    };
}
