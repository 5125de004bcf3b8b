// The main window's colour history: what a copy adds, the History page, the settings file's
// history section and the export.
#include <algorithm>
#include <vector>

#include "access/Names.h"
#include "app/Components.h"
#include "app/ControlIds.h"
#include "app/TintsnatchMain.h"
#include "capture/BmpFile.h"
#include "colors/ColorTemplate.h"
#include "colors/HistoryStore.h"
#include "settings/ProfileFileWin32.h"
#include "win/Clipboard.h"
#include "win/ErrorReport.h"

// After the platform header: the dialog headers need its types.
// clang-format off
#include <commdlg.h>
// clang-format on

namespace {
constexpr int CustomFormat = 6;  // "Custom", after the six formats of the Clipboard page

bool EndsWithNoCase(const std::wstring& text, const std::wstring& end) {
    if (text.size() < end.size()) return false;
    return std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](wchar_t a, wchar_t b) { return towlower(a) == towlower(b); });
}
}  // namespace

void TTintsnatch4::CreateHistoryPage() {
    if (!historyPage_) {
        THistoryPage::Callbacks callbacks;
        callbacks.copy = [this](std::size_t index, int format) { CopyHistoryEntry(index, format); };
        callbacks.changed = [this] { SaveHistory(); };
        callbacks.exportList = [this] { ExportHistoryExecute(); };
        callbacks.formatText = [this](int format, std::uint32_t rgb) {
            return HistoryText(format < 0 ? clipboard_.rgClipboard.ItemIndex() : format, rgb);
        };
        historyPage_ = std::make_unique<THistoryPage>(history_, std::move(callbacks));
    }
    historyPage_->Place(
        tsHistory.Handle(), font_.Get(), Dpi(),
        [this](int x, int y, int w, int h) { return Box(x, y, w, h); }, PageRoom(tsHistory));
}

void TTintsnatch4::LoadHistory() {
    if (!JvFormStorage1) return;
    const std::wstring& path = JvFormStorage1->IniFileName;
    // A broken section reads as what is good in it; a file that cannot be read at all is the
    // settings storage's to report, and is read at the first save that can.
    try {
        settings::Win32ProfileFile files;
        historyRead_ = files.Probe(path) != settings::FileAccess::Unreadable;
        if (historyRead_) history_ = colors::HistoryStore(files).Load(path);
    } catch (...) {
    }
    if (historyPage_) historyPage_->HistoryChanged();
}

bool TTintsnatch4::HistoryReady(settings::ProfileFile& files, bool joined) {
    if (historyRead_) return true;
    const std::wstring& path = JvFormStorage1->IniFileName;
    if (files.Probe(path) == settings::FileAccess::Unreadable) return false;
    colors::ColorHistory stored = colors::HistoryStore(files).Load(
        path, joined ? settings::IniFile::Session::Joined : settings::IniFile::Session::Own);
    // This run's colours, oldest first, so the newest ends in front, as if copied after them.
    const auto& mine = history_.Entries();
    for (auto it = mine.rbegin(); it != mine.rend(); ++it) {
        stored.Add(it->rgb);
        if (it->pinned) (void)stored.SetPinned(0, true);
    }
    history_ = std::move(stored);
    historyRead_ = true;
    if (historyPage_) historyPage_->HistoryChanged();
    return true;
}

void TTintsnatch4::SaveHistory() {
    // A second copy on its way out leaves the running copy's file alone.
    if (!JvFormStorage1 || otherInstance_) return;
    try {
        settings::Win32ProfileFile files;
        // Held by another program: the next save of the settings writes it.
        if (!HistoryReady(files, false)) return;
        colors::HistoryStore(files).Save(JvFormStorage1->IniFileName, history_);
        historyWriteReported_ = false;
    } catch (...) {
        // The copy itself worked; an unwritable file is said once, not at every copy. The
        // history is written with the settings at the next save all the same.
        if (!historyWriteReported_) {
            historyWriteReported_ = true;
            win::ReportCurrentException();
        }
    }
}

void TTintsnatch4::StageHistory(settings::ProfileFile& files) {
    if (otherInstance_ || !HistoryReady(files, true)) return;
    colors::HistoryStore(files).Stage(JvFormStorage1->IniFileName, history_);
}

void TTintsnatch4::RememberColor(std::uint32_t rgb) {
    history_.Add(rgb);
    if (historyPage_) historyPage_->HistoryChanged();
    SaveHistory();
}

std::wstring TTintsnatch4::HistoryText(int format, std::uint32_t rgb) const {
    // A kept colour has no cursor position: the readouts' "no position" text stands for it.
    Readouts r = ReadoutsFor(colors::TripleOf(rgb), 0, 0);
    r.Position = Readouts{}.Position;
    if (format == CustomFormat)
        return colors::ExpandTemplate(win::GetText(clipboard_.edCustomFormat), colors::ValuesOf(r));
    return ::FormatColorText(format, r);
}

void TTintsnatch4::CopyHistoryEntry(std::size_t index, int format) {
    if (index >= history_.Size()) return;
    const std::uint32_t rgb = history_.Entries()[index].rgb;
    if (format < 0) format = clipboard_.rgClipboard.ItemIndex();
    const std::wstring text = HistoryText(format, rgb);
    if (!PlaceColorText(text, format)) return;
    Announce(a11y::CopiedText(text));
    RememberColor(rgb);
}

void TTintsnatch4::ExportHistoryExecute() {
    DWORD type = 1;
    if (auto name = AskSaveName(L"GIMP palette (*.gpl)\0*.gpl\0Text (*.txt)\0*.txt\0", type))
        ExportHistory(*name);
}

void TTintsnatch4::ExportHistory(const std::wstring& fileName) {
    const int format = clipboard_.rgClipboard.ItemIndex();
    const std::string bytes =
        EndsWithNoCase(fileName, L".gpl")
            ? colors::GimpPalette(history_.Entries())
            : colors::TextLines(history_.Entries(), [&](const colors::HistoryEntry& e) {
                  return HistoryText(format, e.rgb);
              });
    // As a capture is saved: a temporary file put in the target's place, so a failed write
    // leaves an existing file whole.
    WriteFileReplacing(fileName, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}
