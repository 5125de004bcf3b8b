#pragma once
// The colour history in the settings file: one value in a section of its own, so the stored
// control values of the main section keep their keys and meaning.
#include <string>

#include "colors/ColorHistory.h"
#include "settings/ProfileFile.h"

namespace colors {

class HistoryStore {
  public:
    static constexpr const wchar_t* Section = L"TTintsnatch4.History";
    static constexpr const wchar_t* Key = L"Colors";

    explicit HistoryStore(settings::ProfileFile& files) : files_(files) {}
    // What the file holds; an empty history when the file, section or key is missing.
    ColorHistory Load(const std::wstring& path,
                      settings::IniFile::Session session = settings::IniFile::Session::Own);
    // Writes the history when the file holds anything else now (a hand edit included), so an
    // unchanged history leaves the file alone, and one never written makes no section. A failed
    // write throws win::Error "Unable to write to <path>".
    void Save(const std::wstring& path, const ColorHistory& history);
    // The same among the writes of a save under way, which its commit writes.
    void Stage(const std::wstring& path, const ColorHistory& history);

  private:
    void Set(settings::IniFile& ini, const ColorHistory& history);

    settings::ProfileFile& files_;
};

}  // namespace colors
