#pragma once
// How often the sampling tick runs. People leave the program open all day with the cursor at
// rest, so once nothing has changed for a while the tick rests: a few of the system's clock ticks
// apart (Windows runs timers at its 15.6 ms clock, so a rest any shorter would save nothing
// there). Mouse input wakes it at once; only a colour that changes under a still cursor waits for
// a rest tick. Any change brings the full rate back.
#include <cstdint>
#include <optional>

class SamplerPace {
  public:
    static constexpr int ActiveInterval = 5;          // ms, while anything changes
    static constexpr int RestInterval = 100;          // ms, a new colour under a still cursor
    static constexpr std::uint64_t RestAfter = 1000;  // ms without a change before resting

    // What one tick found. Ticks that do not sample (options view, paused) leave Color at 0.
    enum class View { Paused, Options, Compact };
    struct Observation {
        View Seen = View::Paused;
        int X = 0, Y = 0;
        std::uint32_t Color = 0;
        bool operator==(const Observation&) const = default;
    };

    // Takes the observation of the tick at nowMs (a monotonic clock) and returns the interval
    // the next ticks should run at.
    int Observe(std::uint64_t nowMs, const Observation& seen);
    // A tick that could not read the cursor (the session locked, a secure desktop showing, a
    // remote session cut off): it counts as no change, so the pace comes to rest.
    int ObserveUnreadable(std::uint64_t nowMs);
    // Mouse input at nowMs: the full rate at once, before any tick has seen what it changed.
    int Wake(std::uint64_t nowMs);
    // Forgets what was seen (the window hid): the next tick counts as a change.
    void Reset();
    bool Resting() const { return resting_; }
    // Whether mouse input should wake the resting tick: not while paused (the capture view, the
    // application minimised), where a tick at full rate would show nothing.
    bool Listening() const { return resting_ && last_ && last_->Seen != View::Paused; }
    int Interval() const { return resting_ ? RestInterval : ActiveInterval; }

  private:
    std::optional<Observation> last_;
    std::uint64_t lastChange_ = 0;
    bool resting_ = false;
};
