#include "app/SamplerPace.h"

int SamplerPace::Observe(std::uint64_t nowMs, const Observation& seen) {
    if (!last_ || !(*last_ == seen)) {
        last_ = seen;
        lastChange_ = nowMs;
        resting_ = false;
    } else if (nowMs - lastChange_ >= RestAfter) {
        resting_ = true;
    }
    return Interval();
}

int SamplerPace::ObserveUnreadable(std::uint64_t nowMs) {
    return Observe(nowMs, last_.value_or(Observation{}));
}

int SamplerPace::Wake(std::uint64_t nowMs) {
    lastChange_ = nowMs;
    resting_ = false;
    return Interval();
}

void SamplerPace::Reset() {
    last_.reset();
    resting_ = false;
}
