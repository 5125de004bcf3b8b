#pragma once
// Where the settings file is kept. The file beside the program comes first, so a copy carried on
// a stick keeps its settings with it; where that folder cannot be written (a copy under Program
// Files, a locked-down PC) the file lives in the user's application-data folder instead, where
// every user may write.
#include <string>

namespace settings {

struct PlaceFacts {
    bool besideExists = false;    // a settings file beside the program
    bool besideWritable = false;  // that this user may write
    bool folderWritable = false;  // the program's folder takes a new file
};

enum class SettingsPlace { BesideProgram, UserData };

SettingsPlace ChoosePlace(const PlaceFacts& facts);

// "<appData>\<name>\<name>.ini"; appData with or without a closing separator.
std::wstring UserDataFile(std::wstring appData, const std::wstring& name);

// Tells once, at the first run that keeps its settings in the user's folder, why and where.
std::wstring MovedSettingsText(const std::wstring& programFolder, const std::wstring& file);

}  // namespace settings
