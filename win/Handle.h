#pragma once
// One move-only owner for every kind of handle the program holds. A kind is named by its handle
// type, the platform call that gives it back and the value that means "none", so each kind is one
// line below (the GDI ones are in win/Gdi.h) rather than a class of its own, and code outside
// this folder never calls a close function itself: a handle is given back on every path out,
// exceptions included, exactly once.
#include <cstdint>
#include <type_traits>
#include <utility>

#include "win/Platform.h"

namespace win {

// Hears of every handle an owner takes and gives back. Most kinds need nothing; the GDI owners
// count theirs so that a leak test can read the number (win/Gdi.h).
struct Uncounted {
    static void Acquired() {}
    static void Released() {}
};

template <typename H, auto CloseFn, std::intptr_t Invalid = 0, typename Count = Uncounted>
class Unique {
  public:
    // The value that means "no handle" for this kind.
    static H None() {
        if constexpr (std::is_pointer_v<H>)
            return reinterpret_cast<H>(Invalid);
        else
            return static_cast<H>(Invalid);
    }

    Unique() = default;
    explicit Unique(H h) : h_(h) {
        if (Valid()) Count::Acquired();
    }
    ~Unique() { Reset(); }
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, None())) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = std::exchange(o.h_, None());
        }
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    // Gives the held handle back and takes `h` in its place.
    void Reset(H h = None()) {
        if (Valid()) {
            static_cast<void>(CloseFn(h_));
            Count::Released();
        }
        h_ = h;
        if (Valid()) Count::Acquired();
    }

    // Gives the handle back now and says whether the platform accepted it, for the callers that
    // must know (a file written through the handle is whole only once it is closed). Nothing
    // held counts as success.
    bool Close() requires std::is_same_v<decltype(CloseFn(std::declval<H>())), BOOL> {
        if (!Valid()) return true;
        const BOOL ok = CloseFn(std::exchange(h_, None()));
        Count::Released();
        return ok != FALSE;
    }

    // Gives up ownership to whoever takes the handle over (the clipboard, a window's region).
    H Release() {
        if (Valid()) Count::Released();
        return std::exchange(h_, None());
    }

    H Get() const { return h_; }
    explicit operator bool() const { return Valid(); }

  private:
    bool Valid() const { return h_ != None(); }

    H h_ = None();
};

// Handles from calls that report failure with INVALID_HANDLE_VALUE: files, process snapshots.
using FileHandle = Unique<HANDLE, &CloseHandle, -1>;
// Handles from calls that report failure with null: named objects (a mutex), processes.
using KernelHandle = Unique<HANDLE, &CloseHandle>;
using RegKey = Unique<HKEY, &RegCloseKey>;
using Icon = Unique<HICON, &DestroyIcon>;
using Menu = Unique<HMENU, &DestroyMenu>;
using Atom = Unique<ATOM, &GlobalDeleteAtom>;
using GlobalMemory = Unique<HGLOBAL, &GlobalFree>;
using LocalMemory = Unique<HLOCAL, &LocalFree>;
// A window not yet handed to anything that destroys it (a control until it is set up).
using OwnedWindow = Unique<HWND, &DestroyWindow>;

}  // namespace win
