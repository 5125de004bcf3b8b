#include "settings/ProfileFileWin32.h"

#include <vector>

#include "win/Platform.h"

namespace settings {

std::wstring Win32ProfileFile::ReadString(const std::wstring& path, const std::wstring& section,
                                          const std::wstring& key, const std::wstring& def) {
    // The reader reports a cut value as a full buffer; grow until the whole value fits, within
    // reason (the caller keeps only the first 2047 characters anyway).
    std::vector<wchar_t> buffer(4096);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD got = GetPrivateProfileStringW(section.c_str(), key.c_str(), def.c_str(),
                                             buffer.data(), size, path.c_str());
        if (got + 1 < size || buffer.size() >= 65536) return std::wstring(buffer.data(), got);
        buffer.resize(buffer.size() * 2);
    }
}

bool Win32ProfileFile::WriteString(const std::wstring& path, const std::wstring& section,
                                   const std::wstring& key, const std::wstring& value) {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
           FALSE;
}

void Win32ProfileFile::Flush(const std::wstring& path) {
    // All three names null asks the platform to flush and drop its cached copy of the file; the
    // call is documented to return FALSE even when it did so, so there is nothing to check.
    (void)WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

}  // namespace settings
