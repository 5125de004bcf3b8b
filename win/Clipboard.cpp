#include "win/Clipboard.h"

#include <algorithm>
#include <cstring>

#include "win/ErrorReport.h"
#include "win/Text.h"

namespace win {
namespace {
GlobalMemory CopyToGlobal(const void* data, size_t bytes) {
    GlobalMemory mem(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!mem) throw Error(L"Out of memory");
    void* p = GlobalLock(mem.Get());
    if (!p) throw Error(L"Out of memory");
    std::memcpy(p, data, bytes);
    GlobalUnlock(mem.Get());
    return mem;
}

// The clipboard owns the memory only once it has taken it; until then it is ours to free.
void Put(UINT format, GlobalMemory data) {
    if (!SetClipboardData(format, data.Get())) throw Error(L"Cannot set clipboard data");
    data.Release();
}
}  // namespace

void WaitAnsweringSent(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now),
                                      QS_SENDMESSAGE) != WAIT_OBJECT_0)
            return;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

Clipboard::Clipboard(HWND owner) {
    // Clipboard history, clipboard managers and remote-desktop clients open the clipboard right
    // after every change and may hold it for a while: back off for about a second before giving
    // up.
    const ULONGLONG giveUp = GetTickCount64() + 1000;
    for (DWORD pause = 5; !OpenClipboard(owner); pause = std::min<DWORD>(pause * 2, 200)) {
        const ULONGLONG now = GetTickCount64();
        if (now >= giveUp) throw Error(L"Cannot open clipboard");
        WaitAnsweringSent(static_cast<DWORD>(std::min<ULONGLONG>(pause, giveUp - now)));
    }
}

Clipboard::~Clipboard() { CloseClipboard(); }

void Clipboard::Empty() { EmptyClipboard(); }

void Clipboard::SetText(const std::wstring& text) {
    std::string ansi = ToAnsi(text);
    Put(CF_TEXT, CopyToGlobal(ansi.c_str(), ansi.size() + 1));
    Put(CF_UNICODETEXT, CopyToGlobal(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
}

void Clipboard::SetData(UINT format, GlobalMemory data) { Put(format, std::move(data)); }

void Clipboard::SetBitmap(gdi::Bitmap bitmap) {
    if (!SetClipboardData(CF_BITMAP, bitmap.Get())) throw Error(L"Cannot set clipboard data");
    bitmap.Release();
}

void Clipboard::SetPalette(gdi::Palette palette) {
    if (!SetClipboardData(CF_PALETTE, palette.Get())) throw Error(L"Cannot set clipboard data");
    palette.Release();
}

void Clipboard::Offer(UINT format) {
    // Without data the result is null on success too: only the last error tells.
    SetLastError(ERROR_SUCCESS);
    if (!SetClipboardData(format, nullptr) && GetLastError() != ERROR_SUCCESS)
        throw Error(L"Cannot set clipboard data");
}

void PutClipboardBytes(UINT format, const std::vector<std::uint8_t>& bytes) {
    Put(format, CopyToGlobal(bytes.data(), bytes.size()));
}

void PutClipboardMemory(UINT format, GlobalMemory data) { Put(format, std::move(data)); }

}  // namespace win
