#pragma once
// How often the sampling tick runs. People leave the program open all day with the cursor at
// rest, so once nothing has changed for a while the tick slows down, but never so far that a
// change would show later than one 60 Hz frame; any change brings the full rate back at once.
#include <cstdint>
#include <optional>

class SamplerPace {
  public:
    static constexpr int ActiveInterval = 5;         // ms, while anything changes
    static constexpr int RestInterval = 15;          // ms, below one 60 Hz frame (16.7 ms)
    static constexpr std::uint64_t RestAfter = 250;  // ms without a change before resting

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
    bool Resting() const { return resting_; }
    int Interval() const { return resting_ ? RestInterval : ActiveInterval; }

  private:
    std::optional<Observation> last_;
    std::uint64_t lastChange_ = 0;
    bool resting_ = false;
};
