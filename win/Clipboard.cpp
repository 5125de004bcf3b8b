#include "win/Clipboard.h"

#include <cstring>

#include "win/ErrorReport.h"
#include "win/Text.h"

namespace win {
namespace {
HGLOBAL CopyToGlobal(const void* data, size_t bytes) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!mem) throw Error(L"Out of memory");
    void* p = GlobalLock(mem);
    if (!p) {
        GlobalFree(mem);
        throw Error(L"Out of memory");
    }
    std::memcpy(p, data, bytes);
    GlobalUnlock(mem);
    return mem;
}

void Put(UINT format, HANDLE data) {
    if (!SetClipboardData(format, data)) {
        GlobalFree(data);
        throw Error(L"Cannot set clipboard data");
    }
}
}  // namespace

Clipboard::Clipboard(HWND owner) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (OpenClipboard(owner)) return;
        Sleep(10);
    }
    throw Error(L"Cannot open clipboard");
}

Clipboard::~Clipboard() { CloseClipboard(); }

void Clipboard::Empty() { EmptyClipboard(); }

void Clipboard::SetText(const std::wstring& text) {
    std::string ansi = ToAnsi(text);
    Put(CF_TEXT, CopyToGlobal(ansi.c_str(), ansi.size() + 1));
    Put(CF_UNICODETEXT, CopyToGlobal(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
}

void Clipboard::SetBitmap(HBITMAP bitmap) {
    if (!SetClipboardData(CF_BITMAP, bitmap)) {
        DeleteObject(bitmap);
        throw Error(L"Cannot set clipboard data");
    }
}

void Clipboard::SetPalette(HPALETTE palette) {
    if (!SetClipboardData(CF_PALETTE, palette)) {
        DeleteObject(palette);
        throw Error(L"Cannot set clipboard data");
    }
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

}  // namespace win
