#include "settings/JvFormStorage.h"

#include "settings/ValueCodec.h"
#include "win/ErrorReport.h"

using namespace settings;

namespace {
// Takes down what a save writes instead of writing it.
class WriteList : public ProfileFile {
  public:
    std::vector<std::pair<std::wstring, std::wstring>> writes;
    FileAccess Probe(const std::wstring&) override { return FileAccess::Readable; }
    std::wstring ReadString(const std::wstring&, const std::wstring&, const std::wstring&,
                            const std::wstring& def) override {
        return def;
    }
    bool WriteString(const std::wstring&, const std::wstring&, const std::wstring& key,
                     const std::wstring& value) override {
        writes.emplace_back(key, value);
        return true;
    }
    bool Commit(const std::wstring&) override { return true; }
    void Flush(const std::wstring&) override {}
};

// What the reader gives for a key the file lacks: no value we write, or a person types, is a
// lone control character.
const std::wstring Absent(1, L'\x01');
}  // namespace

TJvFormStorage::TJvFormStorage(std::unique_ptr<ProfileFile> files,
                               std::unique_ptr<PlacementWindow> window,
                               std::vector<StoredProp> storedProps, std::wstring formName)
    : files_(std::move(files)),
      window_(std::move(window)),
      props_(ResolveStoredProps(std::move(storedProps))),
      formName_(std::move(formName)) {}

std::wstring TJvFormStorage::Section() const {
    return IniSection.empty() ? window_->ClassName() : IniSection;
}

LoadResult TJvFormStorage::LoadSettings() {
    saved_ = false;
    // The reader would give the defaults for a file it cannot open, as for a missing one.
    FileAccess access = files_->Probe(IniFileName);
    if (access == FileAccess::Unreadable) {
        // Nothing read yet in this run: the controls hold defaults, not the user's values, and
        // saving them would replace the file. After a read they hold the user's values.
        if (!restored_) fileKept_ = true;
        return LoadResult::Unreadable;
    }
    // Read at a later show after all: from here on the controls carry the file's values.
    fileKept_ = false;
    {
        IniFile ini(*files_, IniFileName, Section());
        if (ini.ReadInteger(L"FormVersion", 0) >= Version) {
            ReadPlacement(*window_, ini, StorePosition, StoreState);
            restored_ = true;
            RestoreProps(ini);
        }
        // Also after a version mismatch: the next save then writes the current state.
        restored_ = true;
    }
    ResetMaximizedPosition(*window_);
    return access == FileAccess::Missing ? LoadResult::Missing : LoadResult::Read;
}

void TJvFormStorage::RestoreProps(const IniFile& ini) {
    for (const auto& rp : props_) {
        const StoredProp& p = rp.Prop;
        // One bad entry (a control's handler failing, say) must not stop the others.
        try {
            std::optional<PropValue> current = p.Get ? p.Get() : std::nullopt;
            if (!current || !p.Set) continue;
            std::wstring text =
                p.Kind == PropKind::Component ? std::wstring() : WriteValue(p.Kind, *current);
            if (!text.empty() || p.Kind == PropKind::String || p.Kind == PropKind::Component)
                text = TrimText(ini.ReadString(rp.Key, text));
            switch (p.Kind) {
                case PropKind::Integer:
                    p.Set(ParseInteger(text).value_or(0));
                    break;
                case PropKind::Boolean:
                    if (auto b = ParseBoolean(text)) p.Set(*b);
                    break;
                case PropKind::String:
                    p.Set(text);
                    break;
                case PropKind::Component: {
                    // A reference that holds nothing right now is left alone.
                    if (std::get<std::wstring>(*current).empty()) break;
                    ReferenceChange change = ResolveReference(text, formName_, p.Components);
                    if (change.Action == RefAction::Set)
                        p.Set(change.Name);
                    else if (change.Action == RefAction::Clear)
                        p.Set(std::wstring());
                    break;
                }
            }
        } catch (...) {
        }
    }
}

void TJvFormStorage::SaveSettings() {
    // A window that was never shown has nothing of its own to save.
    if (!restored_ && Active) return;
    // The file holds the user's values, which this run never read.
    if (fileKept_) return;
    // Compared with the file as it is now, not as this run last saw it: another program may have
    // deleted it (then every value is written), replaced it or edited it meanwhile. A file that
    // already holds every value is not even opened for writing, so a file that a sync client or
    // a scanner watches is not rewritten each time the options view closes.
    files_->Flush(IniFileName);
    std::vector<std::pair<std::wstring, std::wstring>> changed;
    for (auto& write : PlannedWrites()) {
        std::wstring value = files_->ReadString(IniFileName, Section(), write.first, Absent);
        // In the form a save would write it: the reader took one enclosing pair of quotes away.
        if (value == Absent || QuoteForProfile(value) != write.second)
            changed.push_back(std::move(write));
    }
    IniFile ini(*files_, IniFileName, Section());
    for (const auto& [key, value] : changed) ini.WriteString(key, value);
    // The other sections the program keeps in the file go to the disk in the same step.
    if (SaveOtherSections && !KeepStoredValues) SaveOtherSections(*files_, IniFileName);
    ini.Commit();
    saved_ = true;
}

void TJvFormStorage::WriteAll(IniFile& ini) {
    if (!KeepStoredValues) {
        ini.WriteInteger(L"FormVersion", Version);
        if (StorePosition || StoreState) WritePlacement(*window_, ini);
    }
    ini.WriteString(L"Visible", destroying_ ? L"1" : L"0");
    if (!KeepStoredValues) SaveProps(ini);
}

std::vector<std::pair<std::wstring, std::wstring>> TJvFormStorage::PlannedWrites() {
    WriteList list;
    {
        IniFile ini(list, IniFileName, Section());
        WriteAll(ini);
    }
    return std::move(list.writes);
}

void TJvFormStorage::SaveProps(IniFile& ini) {
    for (const auto& rp : props_) {
        const StoredProp& p = rp.Prop;
        std::optional<PropValue> current = p.Get ? p.Get() : std::nullopt;
        if (!current) continue;
        std::wstring text = WriteValue(p.Kind, *current);
        if (text.empty() && p.Kind != PropKind::String) continue;
        ini.WriteString(rp.Key, QuoteForProfile(TrimText(text)));
    }
}

void TJvFormStorage::ShowHook(const std::function<void()>& formShow) {
    if (Active) {
        try {
            if (LoadSettings() == LoadResult::Unreadable && !unreadableReported_) {
                unreadableReported_ = true;
                throw win::Error(L"Unable to read " + IniFileName + L".");
            }
        } catch (...) {
            Report();
        }
    }
    if (formShow) formShow();
}

bool TJvFormStorage::CloseQueryHook(const std::function<bool()>& formCloseQuery) {
    bool canClose = formCloseQuery ? formCloseQuery() : true;
    if (canClose && Active && window_->HasHandle()) {
        try {
            SaveSettings();
        } catch (...) {
            closeReported_ = true;
            Report();
        }
    }
    return canClose;
}

void TJvFormStorage::DestroyHook(const std::function<void()>& formDestroy) {
    if (Active && !saved_) {
        destroying_ = true;
        try {
            SaveSettings();
        } catch (...) {
            // The destruction tries once more (a file held for a moment may be free now), but an
            // exit tells of a failure once: the close already did.
            if (!closeReported_) Report();
        }
        destroying_ = false;
    }
    if (formDestroy) formDestroy();
}

void TJvFormStorage::HideHook(const std::function<void()>& formHide) {
    KeepFileCurrent();
    if (formHide) formHide();
}

void TJvFormStorage::KeepFileCurrent() {
    if (!Active || !window_->HasHandle()) return;
    try {
        SaveSettings();
    } catch (...) {
        if (!keepCurrentFailureReported_) {
            keepCurrentFailureReported_ = true;
            Report();
        }
    }
}

void TJvFormStorage::EndSessionHook() {
    if (!Active || !window_->HasHandle()) return;
    try {
        SaveSettings();
    } catch (...) {
        // Lost with the session.
    }
}

void TJvFormStorage::Report() noexcept {
    try {
        if (ReportError) ReportError();
    } catch (...) {
    }
}
