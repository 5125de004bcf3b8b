#include "colors/HistoryStore.h"

namespace colors {

namespace {
// No colour list can read as this, so it tells a missing key from an empty one.
constexpr const wchar_t* Absent = L"\x01";
}  // namespace

ColorHistory HistoryStore::Load(const std::wstring& path) {
    settings::IniFile ini(files_, path, Section);
    return ColorHistory::FromText(ini.ReadString(Key, L""));
}

void HistoryStore::Save(const std::wstring& path, const ColorHistory& history) {
    settings::IniFile ini(files_, path, Section);
    const std::wstring now = ini.ReadString(Key, Absent);
    const std::wstring text = history.Text();
    if (now == text || (now == Absent && history.Size() == 0)) return;
    ini.WriteString(Key, text);
}

}  // namespace colors
