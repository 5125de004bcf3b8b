#include "settings/FileReplaceWin32.h"

#include <shlobj.h>

#include <algorithm>
#include <cwchar>

#include "win/Handle.h"

namespace settings {

namespace {
// What a scanner, a sync client, an editor or the search indexer holding the file causes.
bool Busy(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_ACCESS_DENIED:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
            return true;
        default:
            return false;
    }
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Tries an operation for about a second while it fails as busy; its last error otherwise.
template <typename Op>
DWORD Patiently(Op op) {
    const ULONGLONG giveUp = GetTickCount64() + 1000;
    for (DWORD pause = 10;; pause = std::min<DWORD>(pause * 2, 200)) {
        const DWORD error = op();
        const ULONGLONG now = GetTickCount64();
        if (error == ERROR_SUCCESS || !Busy(error) || now >= giveUp) return error;
        Sleep(static_cast<DWORD>(std::min<ULONGLONG>(pause, giveUp - now)));
    }
}

DWORD WriteAll(HANDLE file, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return GetLastError();
        // A short write to a file means no room.
        if (written != chunk) return ERROR_DISK_FULL;
        done += written;
    }
    return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

// As the profile functions write: over the old bytes, then cut to the new length. Tried once:
// whoever holds the file was waited for already.
DWORD WriteInPlace(const std::wstring& path, std::string_view bytes) {
    win::FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    if (DWORD error = WriteAll(file.Get(), bytes)) return error;
    if (!SetEndOfFile(file.Get()) || !FlushFileBuffers(file.Get())) return GetLastError();
    return file.Close() ? ERROR_SUCCESS : GetLastError();
}

// A new file beside the target, named here rather than by GetTempFileName, which wants the
// folder 14 characters shorter than MAX_PATH.
win::FileHandle CreateBeside(const std::wstring& folder, std::wstring& stem, DWORD& error) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[40];
        swprintf(name, 40, L"~tsini%lx-%x", GetCurrentProcessId(), serial++);
        stem = folder + name;
        win::FileHandle file(CreateFileW((stem + L".tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        error = file ? ERROR_SUCCESS : GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return file;
    }
    return {};
}

// The finished file in the target's place. An existing target is replaced, so it keeps its
// attributes, permissions and creation time; with a backup name, so a replace that moved the old
// file aside without moving the new one in (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) is finished by
// the next try, which finds no target, or undone at the end.
DWORD PutInPlace(const std::wstring& target, const std::wstring& temp, const std::wstring& backup) {
    const auto rename = [&]() -> DWORD {
        return MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? ERROR_SUCCESS
                   : GetLastError();
    };
    DWORD error = Patiently([&]() -> DWORD {
        if (!Exists(target)) return rename();
        if (ReplaceFileW(target.c_str(), temp.c_str(), backup.c_str(),
                         REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                         nullptr))
            return ERROR_SUCCESS;
        const DWORD replaceError = GetLastError();
        // A file system that cannot replace (FAT, some network shares) fails with other errors,
        // both files left as they were: a plain rename over the old file still can.
        return Busy(replaceError) ? replaceError : rename();
    });
    if (!Exists(target)) MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    DeleteFileW(backup.c_str());
    return error;
}
}  // namespace

DWORD ReadWholeFile(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    return Patiently([&]() -> DWORD {
        win::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            return error == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : error;
        }
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.Get(), &size)) return GetLastError();
        if (size.QuadPart > MaxFileBytes) return ERROR_FILE_TOO_LARGE;
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        // The file may have changed its length since: what is there now is what counts.
        if (!bytes.empty() &&
            !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
            return GetLastError();
        bytes.resize(got);
        return ERROR_SUCCESS;
    });
}

DWORD WriteWholeFile(const std::wstring& path, std::string_view bytes,
                     const BeforeReplace& beforeReplace) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return ERROR_ACCESS_DENIED;
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    const std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
    if (!existed && !folder.empty() && !Exists(folder)) {
        // Makes every missing level; the result tells nothing the file's creation will not.
        (void)SHCreateDirectoryExW(nullptr, folder.substr(0, folder.size() - 1).c_str(), nullptr);
    }

    DWORD error = ERROR_SUCCESS;
    std::wstring stem;
    win::FileHandle file = CreateBeside(folder, stem, error);
    if (!file) return existed && error == ERROR_ACCESS_DENIED ? WriteInPlace(path, bytes) : error;
    const std::wstring temp = stem + L".tmp";
    error = WriteAll(file.Get(), bytes);
    if (!file.Close() && error == ERROR_SUCCESS) error = GetLastError();
    if (error == ERROR_SUCCESS && beforeReplace && !beforeReplace())
        error = ERROR_CANCELLED;
    else if (error == ERROR_SUCCESS)
        error = PutInPlace(path, temp, stem + L".bak");
    if (error == ERROR_SUCCESS) return error;
    // Kept only when the target is missing, which a failed replace may leave: then it is the one
    // copy of the settings.
    if (!existed || Exists(path)) DeleteFileW(temp.c_str());
    // Held by a program that lets others write but not delete or rename it.
    if (existed && Busy(error) && Exists(path)) return WriteInPlace(path, bytes);
    return error;
}

}  // namespace settings
