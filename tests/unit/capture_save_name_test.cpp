// The one-key save's file names: the template's placeholders, names the file system refuses,
// and the next name when one is taken.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "capture/SaveName.h"

using namespace savename;

namespace {
const Fields Noon{2026, 3, 7, 12, 5, 9, L"Active window", 640, 480};
}

TEST(CaptureSaveName, PlaceholdersInAnyCaseAreFilledAndOtherBracesStay) {
    EXPECT_EQ(Candidate(DefaultTemplate, Noon, L".png", 1), L"Capture 2026-03-07 12-05-09.png");
    EXPECT_EQ(Expand(L"{MODE} {size} #{Counter} {what} {", Noon, 4),
              L"Active window 640x480 #004 {what} {");
}

TEST(CaptureSaveName, ATakenNameGetsANumberOrTheCounterCountsOn) {
    EXPECT_EQ(Candidate(L"shot", Noon, L".bmp", 1), L"shot.bmp");
    EXPECT_EQ(Candidate(L"shot", Noon, L".bmp", 3), L"shot (3).bmp");
    EXPECT_EQ(Candidate(L"shot {counter}", Noon, L".bmp", 1), L"shot 001.bmp");
    EXPECT_EQ(Candidate(L"shot {counter}", Noon, L".bmp", 12), L"shot 012.bmp");
    EXPECT_EQ(Candidate(L"shot {counter}", Noon, L".bmp", 1234), L"shot 1234.bmp");
}

TEST(CaptureSaveName, TheCounterGoesOnAfterNamesSavedBeforeItHadZerosInFront) {
    const std::set<std::wstring> names{L"shot 1.bmp", L"shot 2.bmp", L"shot 1000.bmp",
                                       L"plain.bmp"};
    const auto folder = [&](const std::wstring& n) { return names.contains(n); };
    EXPECT_TRUE(TakenUnpadded(L"shot {counter}", Noon, L".bmp", 2, folder));
    EXPECT_FALSE(TakenUnpadded(L"shot {counter}", Noon, L".bmp", 3, folder));
    EXPECT_FALSE(TakenUnpadded(L"shot {counter}", Noon, L".bmp", 1000, folder))
        << "the same name either way: the save's own check finds it";
    EXPECT_FALSE(TakenUnpadded(L"plain", Noon, L".bmp", 1, folder)) << "no counter";
}

TEST(CaptureSaveName, CharactersAFileNameCannotHoldAreReplaced) {
    EXPECT_EQ(CleanFileName(L"a<b>c:d\"e/f\\g|h?i*j\tk"), L"a_b_c_d_e_f_g_h_i_j_k");
    EXPECT_EQ(CleanFileName(L"trailing. . "), L"trailing");
    EXPECT_EQ(CleanFileName(L" .. "), L"Capture");
    EXPECT_EQ(CleanFileName(L"con"), L"_con");
    EXPECT_EQ(CleanFileName(L"LPT7.x"), L"_LPT7.x");
    EXPECT_EQ(CleanFileName(L"console"), L"console");
    for (const wchar_t* device :
         {L"COM0", L"lpt0.png", L"COM\u00B9", L"lpt\u00B2.a.b", L"Com\u00B3", L"NUL .png"})
        EXPECT_EQ(CleanFileName(device), L"_" + std::wstring(device));
    for (const wchar_t* name : {L"COM10", L"LPT\u2074", L"COMA", L"con1", L"NULL.png"})
        EXPECT_EQ(CleanFileName(name), name);
    EXPECT_EQ(Candidate(L"", Noon, L".png", 2), L"Capture (2).png");
}

TEST(CaptureSaveName, ALongTemplateIsCutSoTheNameKeepsItsNumberAndExtension) {
    const std::wstring name = Candidate(std::wstring(400, L'x'), Noon, L".png", 7);
    EXPECT_EQ(name.size(), 255u);
    EXPECT_TRUE(name.ends_with(L"x (7).png"));
}

TEST(CaptureSaveName, FolderAndNameAreJoinedByOneBackslash) {
    EXPECT_EQ(Join(L"C:\\pics", L"a.png"), L"C:\\pics\\a.png");
    EXPECT_EQ(Join(L"C:\\pics\\", L"a.png"), L"C:\\pics\\a.png");
    EXPECT_EQ(ModeWord(1), L"Desktop");
    EXPECT_EQ(ModeWord(-1), L"");
}
