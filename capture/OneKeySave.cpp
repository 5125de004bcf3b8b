#include "capture/OneKeySave.h"

#include <shlobj.h>

#include "capture/BmpFile.h"
#include "win/ErrorReport.h"
#include "win/Handle.h"

namespace {

// Each missing folder from the top down; the drive or share itself is never made.
void MakeFolder(const std::wstring& full, const std::wstring& shown) {
    const DWORD attributes = GetFileAttributesW(LongPath(full).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) FolderError(shown, ERROR_DIRECTORY, full);
        return;
    }
    const size_t slash = full.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 2 && full[slash - 1] != L'\\')
        MakeFolder(full.substr(0, slash), shown);
    if (!CreateDirectoryW(LongPath(full).c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS)
        FolderError(shown, GetLastError());
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
    if (chosen.empty()) FolderError(chosen, ERROR_PATH_NOT_FOUND);
    std::wstring full = FullPath(chosen);
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    MakeFolder(full, chosen);
    // Creating the file only when it does not exist takes the name in one step: a file that
    // appeared since the name was chosen is never opened, let alone replaced.
    const auto exists = [&](const std::wstring& name) {
        return GetFileAttributesW(LongPath(savename::Join(full, name)).c_str()) !=
               INVALID_FILE_ATTRIBUTES;
    };
    for (int attempt = 1; attempt <= 10000; ++attempt) {
        if (savename::TakenUnpadded(pattern, fields, extension, attempt, exists)) continue;
        std::wstring path =
            savename::Join(full, savename::Candidate(pattern, fields, extension, attempt));
        win::FileHandle reserved(CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!reserved) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            SaveError(path, error);
        }
        reserved.Close();
        try {
            write(path);
        } catch (...) {
            DeleteFileW(LongPath(path).c_str());
            throw;
        }
        return path;
    }
    SaveError(savename::Join(full, savename::Candidate(pattern, fields, extension, 1)),
              ERROR_FILE_EXISTS);
}
