#include "settings/ProfileFileWin32.h"

#include <vector>

#include "win/Handle.h"
#include "win/Platform.h"

namespace settings {

namespace {
// About a second in all: long enough for a backup or a scanner to let go of a small file, short
// enough that a start-up does not seem to hang.
constexpr int ProbeAttempts = 10;
constexpr DWORD ProbePauseMs = 100;
}  // namespace

FileAccess Win32ProfileFile::Probe(const std::wstring& path) {
    for (int attempt = 1;; ++attempt) {
        const win::FileHandle f(CreateFileW(
            path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (f) return FileAccess::Readable;
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return FileAccess::Missing;
        if (attempt == ProbeAttempts) return FileAccess::Unreadable;
        Sleep(ProbePauseMs);
    }
}

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
