#pragma once

#include <atomic>
#include <cmath>
#include <limits>

/** A float setting written by any thread (a parameter change) and taken up by
    the audio thread at the start of a block.

    The writer only stores into an atomic; the audio thread compares the latest
    value with the one it applied last and acts only on a change, so that costly
    updates (filter coefficients, mixer ramps) run once per change and never
    race with processing.
*/
class PublishedValue
{
public:
    explicit PublishedValue (float initial = 0.0f) noexcept : target (initial) {}

    void publish (float newValue) noexcept          { target.store (newValue, std::memory_order_release); }
    float latest() const noexcept                   { return target.load (std::memory_order_acquire); }

    /** Audio thread (or a host thread while processing is stopped): returns true
        and the new value when it differs from the one taken last. */
    bool takeChange (float& value) noexcept
    {
        value = latest();
        if (value == applied)
            return false;
        applied = value;
        return true;
    }

    /** Forgets what was applied, so the next takeChange reports the current value. */
    void invalidate() noexcept                      { applied = std::numeric_limits<float>::quiet_NaN(); }

private:
    std::atomic<float> target;
    float applied = std::numeric_limits<float>::quiet_NaN();
};
