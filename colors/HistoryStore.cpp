#include "colors/HistoryStore.h"

namespace colors {

namespace {
// No colour list can read as this, so it tells a missing key from an empty one.
constexpr const wchar_t* Absent = L"\x01";
}  // namespace

ColorHistory HistoryStore::Load(const std::wstring& path, settings::IniFile::Session session) {
    settings::IniFile ini(files_, path, Section, session);
    return ColorHistory::FromText(ini.ReadWholeString(Key, L""));
}

void HistoryStore::Save(const std::wstring& path, const ColorHistory& history) {
    settings::IniFile ini(files_, path, Section);
    Set(ini, history);
    ini.Commit();
}

void HistoryStore::Stage(const std::wstring& path, const ColorHistory& history) {
    // Not committed here, and not dropped either: the caller's commit writes it with its own.
    settings::IniFile ini(files_, path, Section, settings::IniFile::Session::Joined);
    Set(ini, history);
}

void HistoryStore::Set(settings::IniFile& ini, const ColorHistory& history) {
    const std::wstring now = ini.ReadWholeString(Key, Absent);
    const std::wstring text = history.Text();
    if (now == text || (now == Absent && history.Size() == 0)) return;
    ini.WriteString(Key, text);
}

}  // namespace colors
