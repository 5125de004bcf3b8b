#include "settings/SettingsPlace.h"

namespace settings {

SettingsPlace ChoosePlace(const PlaceFacts& facts) {
    if (facts.besideExists)
        return facts.besideWritable ? SettingsPlace::BesideProgram : SettingsPlace::UserData;
    return facts.folderWritable ? SettingsPlace::BesideProgram : SettingsPlace::UserData;
}

std::wstring UserDataFile(std::wstring appData, const std::wstring& name) {
    if (!appData.empty() && appData.back() != L'\\' && appData.back() != L'/') appData += L'\\';
    return appData + name + L'\\' + name + L".ini";
}

std::wstring MovedSettingsText(const std::wstring& programFolder, const std::wstring& file) {
    return L"Tintsnatch cannot write to its folder " + programFolder +
           L"\nIts settings are kept in " + file;
}

}  // namespace settings
