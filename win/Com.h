#pragma once
// COM on this thread for the life of the object, in a single-threaded apartment. A thread that
// has COM already keeps it as it was: another apartment kind it chose still serves, so that
// refusal counts as having COM.
#include "win/Platform.h"
// After the platform header.
#include <objbase.h>

namespace win {

class ComScope {
  public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    bool Ready() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }
    HRESULT Result() const { return hr_; }

  private:
    HRESULT hr_;
};

}  // namespace win
