// The Run value in the real registry (HKLM is writable under Wine's test prefix).
#include <gtest/gtest.h>

#include <vector>

#include "settings/StartupWin32.h"
#include "win/ErrorReport.h"

namespace {

class SettingsRunKey : public testing::Test {
  protected:
    // A value name of our own, so the program's real registration is never touched.
    std::wstring name_ = L"TintsnatchTest" + std::to_wstring(GetCurrentProcessId());
    void TearDown() override {
        HKEY key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, settings::RunKeyPath, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueW(key, name_.c_str());
            RegCloseKey(key);
        }
    }
};

TEST_F(SettingsRunKey, WritesReadsAndDeletesTheValue) {
    settings::Win32RunKeyStore store;
    auto open = store.Open(settings::RunKeyAccess::Full);
    ASSERT_TRUE(open.key);
    EXPECT_EQ(open.key->Read(name_).type, settings::RunValue::Type::Missing);
    ASSERT_TRUE(open.key->Write(name_, L"\"C:\\Program Files\\Tint snatch\\Tintsnatch4.exe\""));
    auto value = open.key->Read(name_);
    EXPECT_EQ(value.type, settings::RunValue::Type::Text);
    EXPECT_EQ(value.text, L"\"C:\\Program Files\\Tint snatch\\Tintsnatch4.exe\"");
    EXPECT_TRUE(open.key->Delete(name_));
    EXPECT_FALSE(open.key->Delete(name_)) << "deleting an absent value reports failure";
}

TEST_F(SettingsRunKey, ValuesThatAreNotTextOrEmptyAreToldApart) {
    settings::Win32RunKeyStore store;
    auto open = store.Open(settings::RunKeyAccess::Full);
    ASSERT_TRUE(open.key);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, settings::RunKeyPath, 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    DWORD number = 1;
    ASSERT_EQ(RegSetValueExW(key, name_.c_str(), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&number), sizeof number),
              ERROR_SUCCESS);
    EXPECT_EQ(open.key->Read(name_).type, settings::RunValue::Type::Other);
    ASSERT_EQ(RegSetValueExW(key, name_.c_str(), 0, REG_SZ, nullptr, 0), ERROR_SUCCESS);
    auto empty = open.key->Read(name_);
    EXPECT_EQ(empty.type, settings::RunValue::Type::Text);
    EXPECT_EQ(empty.text, L"");
    std::wstring longText(3000, L'x');
    ASSERT_EQ(RegSetValueExW(key, name_.c_str(), 0, REG_EXPAND_SZ,
                             reinterpret_cast<const BYTE*>(longText.c_str()),
                             static_cast<DWORD>((longText.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    EXPECT_EQ(open.key->Read(name_).text, longText);
    RegCloseKey(key);
}

TEST_F(SettingsRunKey, MissingKeyIsNotRegisteredAndShowsNothing) {
    settings::Win32RunKeyStore store(HKEY_CURRENT_USER, L"Software\\TintsnatchTest\\NoSuchKey");
    std::vector<std::wstring> shown;
    settings::StartupRegistration reg(store, store, name_, L"C:\\x\\Tintsnatch4.exe",
                                      [&](const std::wstring& t) { shown.push_back(t); });
    EXPECT_FALSE(reg.ReadState());
    EXPECT_TRUE(shown.empty());
}

TEST_F(SettingsRunKey, ToggleWritesQuotedPathAndDeletesIt) {
    settings::Win32RunKeyStore store, user(HKEY_CURRENT_USER);
    std::vector<std::wstring> shown;
    const std::wstring exe = L"C:\\Program Files\\Tintsnatch\\Tintsnatch4.exe";
    settings::StartupRegistration reg(store, user, name_, exe,
                                      [&](const std::wstring& t) { shown.push_back(t); });
    bool checked = reg.ReadState();
    EXPECT_FALSE(checked);
    reg.Toggle(checked);
    EXPECT_TRUE(checked);
    EXPECT_EQ(store.Open(settings::RunKeyAccess::Read).key->Read(name_).text, L"\"" + exe + L"\"");
    EXPECT_TRUE(reg.ReadState());
    reg.Toggle(checked);
    EXPECT_FALSE(checked);
    EXPECT_EQ(store.Open(settings::RunKeyAccess::Read).key->Read(name_).type,
              settings::RunValue::Type::Missing);
    EXPECT_TRUE(shown.empty());
}

}  // namespace
