#include "settings/StartupWin32.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "win/ErrorReport.h"
#include "win/Handle.h"

namespace settings {

namespace {
class Win32RunKey : public RunKey {
  public:
    explicit Win32RunKey(win::RegKey key) : key_(std::move(key)) {}

    RunValue Read(const std::wstring& name) override {
        // The value may change between asking its size and reading it: ask again then.
        std::vector<BYTE> data(512);
        for (int attempt = 0; attempt < 8; ++attempt) {
            DWORD type = 0;
            auto size = static_cast<DWORD>(data.size());
            LSTATUS rc =
                RegQueryValueExW(key_.Get(), name.c_str(), nullptr, &type, data.data(), &size);
            if (rc == ERROR_MORE_DATA) {
                data.resize(size + sizeof(wchar_t));
                continue;
            }
            if (rc != ERROR_SUCCESS) return {};
            if (type != REG_SZ && type != REG_EXPAND_SZ) return {RunValue::Type::Other, {}};
            std::wstring text(reinterpret_cast<const wchar_t*>(data.data()),
                              size / sizeof(wchar_t));
            while (!text.empty() && text.back() == L'\0') text.pop_back();
            return {RunValue::Type::Text, text};
        }
        return {};
    }

    bool Write(const std::wstring& name, const std::wstring& text) override {
        auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(key_.Get(), name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
    }

    bool Delete(const std::wstring& name) override {
        return RegDeleteValueW(key_.Get(), name.c_str()) == ERROR_SUCCESS;
    }

  private:
    win::RegKey key_;
};
}  // namespace

RunKeyOpen Win32RunKeyStore::Open(RunKeyAccess access) {
    HKEY key = nullptr;
    RunKeyOpen result;
    if (access == RunKeyAccess::Read) {
        LSTATUS rc = RegOpenKeyExW(root_, path_.c_str(), 0, KEY_QUERY_VALUE, &key);
        if (rc != ERROR_SUCCESS) {
            result.missing = rc == ERROR_FILE_NOT_FOUND;
            return result;
        }
    } else if (RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return result;
    }
    result.key = std::make_unique<Win32RunKey>(win::RegKey(key));
    return result;
}

StartupApproval Win32RunKeyStore::Approval(const std::wstring& name) {
    // A value longer than this is not of the layout we know, and reads as none.
    std::vector<std::uint8_t> data(64);
    auto size = static_cast<DWORD>(data.size());
    if (RegGetValueW(root_, StartupApprovedPath, name.c_str(), RRF_RT_REG_BINARY, nullptr,
                     data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return data;
}

bool Win32RunKeyStore::RemoveApproval(const std::wstring& name) {
    LSTATUS rc = RegDeleteKeyValueW(root_, StartupApprovedPath, name.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

std::wstring ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD got = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got == 0) throw win::Error(L"Cannot find the program's own path");
        if (got < buffer.size()) return std::wstring(buffer.data(), got);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace settings
