#include "capture/OneKeySave.h"

#include <shlobj.h>

#include <cwctype>

#include "win/ErrorReport.h"
#include "win/Handle.h"

namespace {

std::wstring SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const win::LocalMemory owned(buffer);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : L"Error " + std::to_wstring(code);
    while (!text.empty() && (iswspace(text.back()) || text.back() == L'.')) text.pop_back();
    return text;
}

// Worded as the save words a file it cannot make.
[[noreturn]] void FileError(const std::wstring& path, DWORD code) {
    throw win::Error(L"Cannot create file \"" + path + L"\". " + SystemMessage(code));
}

std::wstring FullPath(const std::wstring& path) {
    DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need == 0) FileError(path, GetLastError());
    std::wstring full(need, L'\0');
    DWORD got = GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
    if (got == 0 || got >= need) FileError(path, GetLastError());
    full.resize(got);
    return full;
}

// The form the file functions take beyond MAX_PATH, whatever the system's long-path setting.
std::wstring Unlimited(const std::wstring& full) {
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) return full;
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// Each missing folder from the top down; the drive or share itself is never made.
void MakeFolder(const std::wstring& full, const std::wstring& shown) {
    const DWORD attributes = GetFileAttributesW(Unlimited(full).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) FileError(shown, ERROR_DIRECTORY);
        return;
    }
    const size_t slash = full.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 2 && full[slash - 1] != L'\\')
        MakeFolder(full.substr(0, slash), shown);
    if (!CreateDirectoryW(Unlimited(full).c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS)
        FileError(shown, GetLastError());
}

}  // namespace

std::wstring DefaultSaveFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_CREATE, nullptr, &path)) && path)
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

std::wstring SaveIntoFolder(const std::wstring& folder, const std::wstring& pattern,
                            const savename::Fields& fields, const std::wstring& extension,
                            const std::function<void(const std::wstring& path)>& write) {
    const std::wstring chosen = folder.empty() ? DefaultSaveFolder() : folder;
    if (chosen.empty()) FileError(savename::Join(chosen, L""), ERROR_PATH_NOT_FOUND);
    std::wstring full = FullPath(chosen);
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    MakeFolder(full, chosen);
    // Creating the file only when it does not exist takes the name in one step: a file that
    // appeared since the name was chosen is never opened, let alone replaced.
    for (int attempt = 1; attempt <= 10000; ++attempt) {
        std::wstring path =
            savename::Join(full, savename::Candidate(pattern, fields, extension, attempt));
        win::FileHandle reserved(CreateFileW(Unlimited(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!reserved) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            FileError(path, error);
        }
        reserved.Close();
        try {
            write(path);
        } catch (...) {
            DeleteFileW(Unlimited(path).c_str());
            throw;
        }
        return path;
    }
    FileError(savename::Join(full, savename::Candidate(pattern, fields, extension, 1)),
              ERROR_FILE_EXISTS);
}
