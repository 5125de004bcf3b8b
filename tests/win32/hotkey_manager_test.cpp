// The hotkey manager against the real platform: registrations for its hidden window, presses sent
// with SendInput, a combination held by another process, and the English shortcut texts.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hotkeys/HotKeyManager.h"
#include "tests/support/TestSupport.h"
#include "win/Platform.h"
#include "win/Text.h"

namespace {

// Combinations nothing else in a bare session uses.
constexpr std::uint32_t CtrlShiftF8 = 0x6077;
constexpr std::uint32_t CtrlShiftF9 = 0x6078;
constexpr std::uint32_t CtrlShiftF11 = 0x607A;

constexpr wchar_t HeldEvent[] = L"TintsnatchHotKeyTestHeld";
constexpr wchar_t ReleaseEvent[] = L"TintsnatchHotKeyTestRelease";

ATOM FindAtom(std::uint32_t value) { return GlobalFindAtomA(hotkeys::AtomText(value).c_str()); }

// Presses the combination as a user would: modifiers down, key down and up, modifiers up.
void Press(std::uint32_t value) {
    std::vector<WORD> modifiers;
    if (value & hotkeys::CtrlBit) modifiers.push_back(VK_CONTROL);
    if (value & hotkeys::ShiftBit) modifiers.push_back(VK_SHIFT);
    if (value & hotkeys::AltBit) modifiers.push_back(VK_MENU);
    std::vector<INPUT> inputs;
    auto key = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    for (WORD m : modifiers) key(m, false);
    key(static_cast<WORD>(value & 0xFF), false);
    key(static_cast<WORD>(value & 0xFF), true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) key(*it, true);
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
              inputs.size());
}

struct Pressed {
    std::uint32_t HotKey = 0;
    std::uint16_t Index = 0;
    int Count = 0;
};

class HotKeyManagerWin32 : public testing::Test {
  protected:
    static void SetUpTestSuite() { HotKeyModuleStart(); }
    static void TearDownTestSuite() { HotKeyModuleEnd(); }

    void SetUp() override {
        manager = std::make_unique<THotKeyManager>();
        manager->OnHotKeyPressed = [this](std::uint32_t hotKey, std::uint16_t index) {
            pressed.HotKey = hotKey;
            pressed.Index = index;
            ++pressed.Count;
        };
    }

    std::unique_ptr<THotKeyManager> manager;
    Pressed pressed;
};

}  // namespace

TEST_F(HotKeyManagerWin32, RegistersUnderTheGlobalAtomOfTheValue) {
    ASSERT_EQ(FindAtom(CtrlShiftF8), 0) << "left over from an earlier run";
    std::uint16_t id = manager->Register(CtrlShiftF8);
    ASSERT_NE(id, 0);
    EXPECT_GE(id, 0xC000);
    EXPECT_EQ(FindAtom(CtrlShiftF8), id);

    EXPECT_EQ(manager->Register(CtrlShiftF8), 0);
    EXPECT_EQ(FindAtom(CtrlShiftF8), id) << "the first registration keeps its atom";

    EXPECT_TRUE(manager->UnregisterIndex(id));
    EXPECT_EQ(FindAtom(CtrlShiftF8), 0) << "every reference given back";
    EXPECT_FALSE(manager->UnregisterIndex(id));
}

TEST_F(HotKeyManagerWin32, APressRaisesTheEventWithValueAndIdentifier) {
    std::uint16_t id = manager->Register(CtrlShiftF8);
    ASSERT_NE(id, 0);
    EXPECT_EQ(manager->Register(CtrlShiftF8), 0);
    Press(CtrlShiftF8);
    ASSERT_TRUE(testsupport::WaitFor([&] { return pressed.Count > 0; }, 5000, "the hotkey event"));
    EXPECT_EQ(pressed.HotKey, CtrlShiftF8);
    EXPECT_EQ(pressed.Index, id);
    EXPECT_TRUE(
        testsupport::HoldsFor([&] { return pressed.Count == 1; }, 200, "one event for one press"));
}

TEST_F(HotKeyManagerWin32, DestructionReleasesEveryCombinationAndAtom) {
    ASSERT_NE(manager->Register(CtrlShiftF8), 0);
    ASSERT_NE(manager->Register(CtrlShiftF11), 0);
    manager.reset();
    EXPECT_EQ(FindAtom(CtrlShiftF8), 0);
    EXPECT_EQ(FindAtom(CtrlShiftF11), 0);
    // Both combinations are free for anyone again.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_F8));
    ASSERT_TRUE(RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_SHIFT, VK_F11));
    EXPECT_TRUE(UnregisterHotKey(nullptr, 1));
    EXPECT_TRUE(UnregisterHotKey(nullptr, 2));
}

TEST_F(HotKeyManagerWin32, TheHandlerMayDestroyTheManager) {
    // The exit hotkey closes the main window, which destroys the manager inside its own event.
    ASSERT_NE(manager->Register(CtrlShiftF8), 0);
    manager->OnHotKeyPressed = [this](std::uint32_t, std::uint16_t) {
        ++pressed.Count;
        manager.reset();
    };
    Press(CtrlShiftF8);
    ASSERT_TRUE(testsupport::WaitFor([&] { return pressed.Count > 0; }, 5000, "the hotkey event"));
    EXPECT_EQ(manager, nullptr);
    EXPECT_EQ(FindAtom(CtrlShiftF8), 0);
}

TEST_F(HotKeyManagerWin32, ACombinationHeldByAnotherProcessIsRefused) {
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, HeldEvent);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, ReleaseEvent);
    ASSERT_TRUE(held && release);

    // The other process is this test program running only the holder below.
    wchar_t exe[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    std::wstring command = L"\"" + std::wstring(exe) +
                           L"\" --gtest_also_run_disabled_tests"
                           L" --gtest_filter=HotKeyManagerHolder.DISABLED_HoldsCtrlShiftF9";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(nul, INVALID_HANDLE_VALUE);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &si, &pi);
    CloseHandle(nul);
    ASSERT_TRUE(started);

    EXPECT_EQ(WaitForSingleObject(held, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(manager->Register(CtrlShiftF9), 0);
    EXPECT_TRUE(manager->Registrations().empty());

    SetEvent(release);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &exitCode));
    EXPECT_EQ(exitCode, 0u) << "the holder failed";
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(held);
    CloseHandle(release);

    // Once the other process has let go, the combination is ours to take.
    EXPECT_NE(manager->Register(CtrlShiftF9), 0);
}

// Runs only in the process the test above starts: holds Ctrl+Shift+F9 with a manager of its own
// until told to let go.
TEST(HotKeyManagerHolder, DISABLED_HoldsCtrlShiftF9) {
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, HeldEvent);
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, ReleaseEvent);
    ASSERT_TRUE(held && release);
    {
        THotKeyManager other;
        EXPECT_NE(other.Register(CtrlShiftF9), 0);
        SetEvent(held);
        EXPECT_EQ(WaitForSingleObject(release, 10000), WAIT_OBJECT_0);
    }
    CloseHandle(held);
    CloseHandle(release);
}

TEST_F(HotKeyManagerWin32, EnglishTextsUseTheUsNames) {
    EXPECT_EQ(THotKeyManager::ShortcutToText(0x6041, false), L"Ctrl+Shift+A");
    EXPECT_EQ(THotKeyManager::ShortcutToText(0xC041, false), L"Ctrl+Alt+A");
    EXPECT_EQ(THotKeyManager::ShortcutToText(0x75, false), L"F6");
    EXPECT_EQ(THotKeyManager::ShortcutToText(0, false), L"");
}

TEST_F(HotKeyManagerWin32, ModifierNamesComeFromTheUsersLayout) {
    // The test session runs with the US English layout, whose Control key Windows names "Ctrl"
    // and Wine "Control"; Alt is not all capitals, so Win keeps its mixed case.
    const hotkeys::ModifierNameSet& names = HotKeyModifierNames();
    EXPECT_EQ(names.Shift, "Shift");
    EXPECT_TRUE(names.Ctrl == "Ctrl" || names.Ctrl == "Control") << names.Ctrl;
    EXPECT_EQ(names.Alt, "Alt");
    EXPECT_EQ(names.Win, "Win");
    EXPECT_EQ(THotKeyManager::ShortcutToText(0x16041, true),
              win::FromAnsi(names.Ctrl) + L"+Shift+Win+A");
}
