#pragma once

/** Hooks for builds with Clang's RealtimeSanitizer (-fsanitize=realtime, the
    CMake option ZELK_RTSAN). In every other build they compile to nothing.

    - callInRealtimeScope / processBlockInRealtimeScope run a call the way the
      host's audio thread would: inside a real-time scope, where the sanitizer
      reports any heap allocation, lock or blocking system call made on the way
      (and stops the program).
    - ScopedRealtimeSanitizerExemption lifts that check for the rest of a
      scope, for the few calls the audio thread makes knowingly (the
      analyser's wake-up signal).
*/

#if defined(__has_feature)
 #if __has_feature(realtime_sanitizer)
  #define ZELK_REALTIME_SANITIZER 1
 #endif
#endif

#ifndef ZELK_REALTIME_SANITIZER
 #define ZELK_REALTIME_SANITIZER 0
#endif

#if ZELK_REALTIME_SANITIZER
 #include <sanitizer/rtsan_interface.h>
 #define ZELK_NONBLOCKING [[clang::nonblocking]]
#else
 #define ZELK_NONBLOCKING
#endif

/** Exempts the rest of the enclosing scope from the real-time checks. */
class ScopedRealtimeSanitizerExemption
{
public:
    ScopedRealtimeSanitizerExemption() noexcept {}
    ScopedRealtimeSanitizerExemption (const ScopedRealtimeSanitizerExemption&) = delete;
    ScopedRealtimeSanitizerExemption& operator= (const ScopedRealtimeSanitizerExemption&) = delete;

private:
#if ZELK_REALTIME_SANITIZER
    __rtsan::ScopedDisabler disabler;
#endif
};

namespace realtime
{
    /** True when this build checks real-time scopes. */
    constexpr bool isCheckedBuild = ZELK_REALTIME_SANITIZER != 0;

// The calls below reach code that carries no real-time annotation; checking
// that code at run time is the whole point, so the compile-time warning about
// it is turned off here.
#if ZELK_REALTIME_SANITIZER
 #pragma clang diagnostic push
 #pragma clang diagnostic ignored "-Wfunction-effects"
#endif

    /** Calls fn() inside a real-time scope. */
    template <typename Function>
    void callInRealtimeScope (Function&& fn) ZELK_NONBLOCKING
    {
        fn();
    }

    /** Calls processor.processBlock (buffer, midi) inside a real-time scope. */
    template <typename Processor, typename Buffer, typename Midi>
    void processBlockInRealtimeScope (Processor& processor, Buffer& buffer, Midi& midi) ZELK_NONBLOCKING
    {
        processor.processBlock (buffer, midi);
    }

#if ZELK_REALTIME_SANITIZER
 #pragma clang diagnostic pop
#endif
}
