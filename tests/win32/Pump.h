#pragma once
// The older forms that name nothing, for the tests not yet moved to testsupport::WaitFor.
#include <functional>

#include "tests/support/TestSupport.h"

namespace testutil {

inline void Pump(DWORD ms) { testsupport::Settle(ms); }

inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
    return static_cast<bool>(testsupport::WaitFor(done, timeoutMs, "a state"));
}

}  // namespace testutil
