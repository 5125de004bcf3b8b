#pragma once
// COM on this thread for the life of the object, in a single-threaded apartment. A thread that
// has COM already keeps it as it was: another apartment kind it chose still serves, so that
// refusal counts as having COM.
#include "win/Platform.h"
// After the platform header.
#include <objbase.h>
#include <ole2.h>

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

// COM and OLE on this thread for the life of the object: what the shell's dialogs need for
// drag and drop inside them, besides COM in a single-threaded apartment.
class OleScope {
  public:
    OleScope() : hr_(OleInitialize(nullptr)) {}
    ~OleScope() {
        if (SUCCEEDED(hr_)) OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

    // False when the thread chose a multithreaded apartment before, where those dialogs fail.
    bool Ready() const { return SUCCEEDED(hr_); }

  private:
    HRESULT hr_;
};

}  // namespace win
