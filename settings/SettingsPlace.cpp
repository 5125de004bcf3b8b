#include "settings/SettingsPlace.h"

#include "settings/ValueCodec.h"

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

bool IsInFolder(const std::wstring& path, const std::wstring& folder) {
    std::wstring f = folder;
    while (!f.empty() && (f.back() == L'\\' || f.back() == L'/')) f.pop_back();
    if (f.empty() || path.size() <= f.size() || (path[f.size()] != L'\\' && path[f.size()] != L'/'))
        return false;
    return SameTextNoCase(std::wstring_view(path).substr(0, f.size()), f);
}

std::wstring SettingsPathText(const std::wstring& path, bool elevatedBesideProgram,
                              const std::wstring& ordinaryFile) {
    if (!elevatedBesideProgram || ordinaryFile.empty()) return path;
    return path + L" (run as administrator; other starts use " + ordinaryFile + L")";
}

std::wstring MovedSettingsText(const std::wstring& programFolder, const std::wstring& file) {
    return L"Tintsnatch cannot write to its folder " + programFolder +
           L"\nIts settings are kept in " + file;
}

}  // namespace settings
