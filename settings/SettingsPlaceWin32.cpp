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

// The folder, made first when it is missing (a profile whose Roaming folder was deleted).
std::wstring KnownFolder(REFKNOWNFOLDERID id, DWORD flags = KF_FLAG_DEFAULT) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, flags, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

// Run as administrator while the user's other starts are not: the token is the full one of a
// split pair (User Account Control on, the user an administrator who confirmed the start).
bool ElevatedOverOrdinary() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    const win::KernelHandle token(raw);
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    return GetTokenInformation(token.Get(), TokenElevationType, &type, sizeof type, &size) &&
           type == TokenElevationTypeFull;
}

// A folder where only administrators may make files, whatever this start may do there.
bool OnlyAdministratorsWrite(const std::wstring& folder) {
    for (REFKNOWNFOLDERID id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86, FOLDERID_Windows})
        if (const std::wstring known = KnownFolder(id); !known.empty() && IsInFolder(folder, known))
            return true;
    return false;
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
    if (ChoosePlace(facts) == SettingsPlace::BesideProgram) {
        const std::wstring appData = KnownFolder(FOLDERID_RoamingAppData);
        const bool split = ElevatedOverOrdinary() && OnlyAdministratorsWrite(folder);
        return {beside, false,
                SettingsPathText(beside, split && !appData.empty(),
                                 appData.empty() ? std::wstring() : UserDataFile(appData, name))};
    }

    const std::wstring appData = KnownFolder(FOLDERID_RoamingAppData, KF_FLAG_CREATE);
    // No such folder (a broken profile): the program's folder as before, whose saves then report.
    if (appData.empty()) return {beside, false, beside};
    const std::wstring file = UserDataFile(appData, name);
    const std::wstring own = file.substr(0, file.find_last_of(L'\\'));
    const int made = SHCreateDirectoryExW(nullptr, own.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS && made != ERROR_FILE_EXISTS)
        return {beside, false, beside};
    const bool first = !IsFile(file);
    // Settings that came with the program (a file beside it, read-only there) are where this
    // user's settings start from. The copy takes the file's attributes too: a read-only one
    // would be this user's file that no save could write, so the copy is made writable.
    if (first && facts.besideExists && CopyFileW(beside.c_str(), file.c_str(), TRUE)) {
        const DWORD attributes = GetFileAttributesW(file.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            // A failure shows at the first save, which says which file it cannot write.
            (void)SetFileAttributesW(file.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    }
    return {file, first, file};
}

}  // namespace settings
