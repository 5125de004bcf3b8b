#include "settings/SettingsPlaceWin32.h"

#include <shlobj.h>

#include "settings/SettingsPlace.h"
#include "win/Handle.h"
#include "win/Platform.h"

namespace settings {

namespace {
bool IsFile(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Opened for writing and closed again, changing nothing. A file another program holds for a
// moment (a scanner, a backup) still counts as ours to write.
bool CanWrite(const std::wstring& path) {
    const win::FileHandle f(CreateFileW(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return f || GetLastError() == ERROR_SHARING_VIOLATION;
}

// A new file made in the folder and gone again when closed: what the platform lets this user do
// there, whatever the folder's attributes say (Windows does not let an ordinary start write
// under Program Files, and a program with our manifest gets no virtual copy of the folder).
bool CanCreateIn(const std::wstring& folder) {
    std::wstring probe = folder + L"~ts" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const win::FileHandle f(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                        nullptr));
    return static_cast<bool>(f);
}

std::wstring RoamingAppData() {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &path)))
        result = path;
    CoTaskMemFree(path);
    return result;
}
}  // namespace

SettingsLocation LocateSettingsFile(const std::wstring& exePath, const std::wstring& name) {
    const std::wstring folder = exePath.substr(0, exePath.find_last_of(L"\\/") + 1);
    const std::wstring beside = folder + name + L".ini";
    PlaceFacts facts;
    facts.besideExists = IsFile(beside);
    if (facts.besideExists)
        facts.besideWritable = CanWrite(beside);
    else
        facts.folderWritable = CanCreateIn(folder);
    if (ChoosePlace(facts) == SettingsPlace::BesideProgram) return {beside, false};

    const std::wstring appData = RoamingAppData();
    // No such folder (a broken profile): the program's folder as before, whose saves then report.
    if (appData.empty()) return {beside, false};
    const std::wstring file = UserDataFile(appData, name);
    const std::wstring own = file.substr(0, file.find_last_of(L'\\'));
    if (!CreateDirectoryW(own.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return {beside, false};
    const bool first = !IsFile(file);
    // Settings that came with the program (a file beside it, read-only there) are where this
    // user's settings start from.
    if (first && facts.besideExists) (void)CopyFileW(beside.c_str(), file.c_str(), TRUE);
    return {file, first};
}

}  // namespace settings
