#pragma once
// Finds the settings file's place on this machine (see SettingsPlace.h).
#include <string>

namespace settings {

struct SettingsLocation {
    std::wstring path;  // full path of the settings file
    // Kept in the user's folder for the first time: the user is told why, once.
    bool movedFirstTime = false;
    std::wstring shown;  // what the Misc page says of it
};

// exePath: the program's full path; name: the application's internal name.
SettingsLocation LocateSettingsFile(const std::wstring& exePath, const std::wstring& name);

}  // namespace settings
