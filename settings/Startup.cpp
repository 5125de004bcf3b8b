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

StartupRegistration::StartupRegistration(RunKeyStore& store, std::wstring valueName,
                                         std::wstring exePath, ShowMessage message)
    : store_(store),
      valueName_(std::move(valueName)),
      exePath_(std::move(exePath)),
      message_(std::move(message)) {}

bool StartupRegistration::ReadState() {
    RunKeyOpen open = store_.Open(RunKeyAccess::Read);
    if (!open.key) {
        if (!open.missing) message_(ErrorOpening);
        return false;
    }
    return IsOurRunValue(open.key->Read(valueName_), exePath_);
}

void StartupRegistration::Toggle(bool& checked) {
    checked = !checked;
    RunKeyOpen open = store_.Open(RunKeyAccess::Full);
    if (!open.key) {
        message_(ErrorOpening);
        return;
    }
    if (checked) {
        if (!open.key->Write(valueName_, RunCommandFor(exePath_)))
            throw win::Error(L"Failed to set data for '" + valueName_ + L"'");
    } else if (!open.key->Delete(valueName_)) {
        message_(ErrorDeleting);
    }
}

}  // namespace settings
