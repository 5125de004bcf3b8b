#include "settings/JvFormStorage.h"

#include "settings/ValueCodec.h"
#include "win/ErrorReport.h"

using namespace settings;

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
    {
        IniFile ini(*files_, IniFileName, Section());
        if (!KeepStoredValues) {
            ini.WriteInteger(L"FormVersion", Version);
            if (StorePosition || StoreState) WritePlacement(*window_, ini);
        }
        ini.WriteString(L"Visible", destroying_ ? L"1" : L"0");
        if (!KeepStoredValues) SaveProps(ini);
    }
    saved_ = true;
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
            Report();
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

void TJvFormStorage::Report() noexcept {
    try {
        if (ReportError) ReportError();
    } catch (...) {
    }
}
