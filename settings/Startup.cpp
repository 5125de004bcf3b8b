#include "settings/Startup.h"

#include "settings/ValueCodec.h"
#include "win/ErrorReport.h"

namespace settings {

namespace {
const wchar_t* const ErrorOpening = L"Error opening registry key.";
const wchar_t* const ErrorDeleting = L"Failed to delete value from registry.";
}  // namespace

std::wstring RunCommandFor(const std::wstring& exePath) {
    if (exePath.find_first_of(L" \t") == std::wstring::npos) return exePath;
    return L"\"" + exePath + L"\"";
}

bool IsOurRunValue(const RunValue& value, const std::wstring& exePath) {
    if (value.type != RunValue::Type::Text) return false;
    return SameTextNoCase(value.text, exePath) ||
           SameTextNoCase(value.text, L"\"" + exePath + L"\"");
}

bool TurnedOffInStartupList(const StartupApproval& approval) {
    return approval && approval->size() >= 12 && ((*approval)[0] & 1) != 0;
}

StartupRegistration::StartupRegistration(RunKeyStore& machine, RunKeyStore& user,
                                         std::wstring valueName, std::wstring exePath,
                                         ShowMessage message)
    : machine_(machine),
      user_(user),
      valueName_(std::move(valueName)),
      exePath_(std::move(exePath)),
      message_(std::move(message)) {}

bool StartupRegistration::Registered(bool& refused) {
    for (RunKeyStore* store : {&machine_, &user_}) {
        RunKeyOpen open = store->Open(RunKeyAccess::Read);
        if (open.key && IsOurRunValue(open.key->Read(valueName_), exePath_) &&
            !TurnedOffInStartupList(store->Approval(valueName_)))
            return true;
        if (!open.key && !open.missing) refused = true;
    }
    return false;
}

bool StartupRegistration::ReadState() {
    bool refused = false;
    bool registered = Registered(refused);
    if (!registered && refused) message_(ErrorOpening);
    return registered;
}

bool StartupRegistration::TurnedOffByWindows() {
    for (RunKeyStore* store : {&machine_, &user_}) {
        RunKeyOpen open = store->Open(RunKeyAccess::Read);
        if (open.key && IsOurRunValue(open.key->Read(valueName_), exePath_) &&
            TurnedOffInStartupList(store->Approval(valueName_)))
            return true;
    }
    return false;
}

void StartupRegistration::Toggle(bool& checked) {
    if (checked)
        Unregister(checked);
    else
        Register(checked);
}

void StartupRegistration::Register(bool& checked) {
    for (RunKeyStore* store : {&machine_, &user_}) {
        RunKeyOpen open = store->Open(RunKeyAccess::Full);
        if (!open.key) continue;
        checked = true;
        if (!open.key->Write(valueName_, RunCommandFor(exePath_)))
            throw win::Error(L"Failed to set data for '" + valueName_ + L"'");
        // Removed rather than rewritten as "on": a missing choice is what every new entry has,
        // and it needs no bytes of the undocumented layout.
        if (TurnedOffInStartupList(store->Approval(valueName_)) &&
            !store->RemoveApproval(valueName_)) {
            checked = false;
            message_(ErrorOpening);
        }
        return;
    }
    // Not ticked, so the saved tick does not ask for the same refusal at the next start.
    checked = false;
    message_(ErrorOpening);
}

void StartupRegistration::Unregister(bool& checked) {
    bool held = false, refused = false, failed = false;
    for (RunKeyStore* store : {&machine_, &user_}) {
        RunKeyOpen look = store->Open(RunKeyAccess::Read);
        if (!look.key || look.key->Read(valueName_).type == RunValue::Type::Missing) continue;
        held = true;
        RunKeyOpen open = store->Open(RunKeyAccess::Full);
        if (!open.key)
            refused = true;
        else if (!open.key->Delete(valueName_))
            failed = true;
    }
    if (refused)
        message_(ErrorOpening);
    else if (!held || failed)
        message_(ErrorDeleting);
    bool ignored = false;
    checked = Registered(ignored);
}

}  // namespace settings
