// The version a user reads in the file's properties is the project version (CMakeLists.txt).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/Harness.h"

namespace {
std::wstring Widened(const char* s) { return std::wstring(s, s + strlen(s)); }

std::wstring Dotted(DWORD ms, DWORD ls) {
    return std::to_wstring(HIWORD(ms)) + L"." + std::to_wstring(LOWORD(ms)) + L"." +
           std::to_wstring(HIWORD(ls)) + L"." + std::to_wstring(LOWORD(ls));
}
}  // namespace

TEST(Version, FilePropertiesShowTheProjectVersion) {
    e2e::App app;  // a copy of the exe as a user unpacks it; not started
    const std::wstring exe = app.ExePath();
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &unused);
    ASSERT_NE(size, 0u) << "no version resource (error " << GetLastError() << ")";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(Dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS),
              Widened(TS_PROJECT_VERSION_QUAD));
    EXPECT_EQ(Dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS),
              Widened(TS_PROJECT_VERSION_QUAD));
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
        wchar_t* text = nullptr;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
        ASSERT_TRUE(
            VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &length))
            << "no " << name;
        EXPECT_EQ(std::wstring(text), Widened(TS_PROJECT_VERSION)) << name;
    }
}
