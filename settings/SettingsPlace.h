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

// Whether path lies in folder (letter case of plain letters ignored; either may end in a
// separator): the program's folder under Program Files or the Windows folder.
bool IsInFolder(const std::wstring& path, const std::wstring& folder);

// What the Misc page shows as the settings file. A start run as administrator (elevated, while
// the user's other starts are not) from a folder that only administrators may write keeps its
// file there, and the user's ordinary starts keep theirs in the user's folder (the program has no
// virtual store: its manifest names its execution level): the text names both.
std::wstring SettingsPathText(const std::wstring& path, bool elevatedBesideProgram,
                              const std::wstring& ordinaryFile);

// Tells once, at the first run that keeps its settings in the user's folder, why and where.
std::wstring MovedSettingsText(const std::wstring& programFolder, const std::wstring& file);

}  // namespace settings
