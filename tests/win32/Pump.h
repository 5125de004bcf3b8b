#pragma once
// Helpers for component tests: let the message loop run for a while or until something holds.
#include <functional>

#include "win/Platform.h"

namespace testutil {

inline void Pump(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    MSG m;
    do {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(1);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
    DWORD end = GetTickCount() + timeoutMs;
    MSG m;
    while (!done()) {
        if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(1);
    }
    return true;
}

}  // namespace testutil
