// The one-key save's file names: the template's placeholders, names the file system refuses,
// and the next name when one is taken; the folder a typed one stands for, and the words for a
// save that fails.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "capture/SaveName.h"
#include "capture/SavePlace.h"

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
    const std::set<std::wstring> names{L"shot 1.bmp", L"shot 2.bmp", L"plain.bmp"};
    const auto folder = [&](const std::wstring& n) { return names.contains(n); };
    EXPECT_TRUE(TakenUnpadded(L"shot {counter}", Noon, L".bmp", 2, folder));
    EXPECT_FALSE(TakenUnpadded(L"shot {counter}", Noon, L".bmp", 3, folder));
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

TEST(CaptureSavePlace, ARelativeFolderLiesInTheProgramsFolderNeverInTheWorkingOne) {
    using saveplace::ResolveFolder;
    const std::wstring program = L"C:\\Tools\\Tint\\";
    EXPECT_EQ(ResolveFolder(L"shots", program), L"C:\\Tools\\Tint\\shots");
    EXPECT_EQ(ResolveFolder(L"..\\shots", L"C:\\Tools\\Tint"), L"C:\\Tools\\Tint\\..\\shots");
    EXPECT_EQ(ResolveFolder(L"\\shots", program), L"C:\\shots");
    EXPECT_EQ(ResolveFolder(L"\\shots", L"\\\\srv\\share\\Tint\\"), L"\\\\srv\\share\\shots");
    EXPECT_EQ(ResolveFolder(L"D:shots", program), L"D:\\shots");
    for (const wchar_t* full :
         {L"", L"D:\\shots", L"d:/shots", L"\\\\srv\\share\\x", L"\\\\?\\C:\\x"})
        EXPECT_EQ(ResolveFolder(full, program), full);
}

TEST(CaptureSavePlace, AFailureIsToldInTheWordsOfWhatFailed) {
    using saveplace::FailureText;
    auto failure = [](bool folder, const wchar_t* path, unsigned long code) {
        saveplace::Failure f;
        f.folder = folder;
        f.path = path;
        f.code = code;
        f.systemText = L"System words";
        return f;
    };
    auto drive = failure(true, L"Q:\\shots", 2);
    drive.driveMissing = true;
    EXPECT_EQ(FailureText(drive),
              L"Cannot create folder \"Q:\\shots\". There is no drive Q: on this computer");
    auto inTheWay = failure(true, L"C:\\a.txt\\sub", 267);
    inTheWay.fileInTheWay = L"C:\\a.txt";
    EXPECT_EQ(FailureText(inTheWay),
              L"Cannot create folder \"C:\\a.txt\\sub\". A file has the "
              L"name of a folder it needs: \"C:\\a.txt\"");
    // Refused inside a folder that Controlled folder access guards: it is named, with the way
    // out. Refused elsewhere, or for another reason there, the platform's words stand.
    auto refused = failure(false, L"C:\\Pictures\\a.png", 5);
    refused.protectedPlace = true;
    const std::wstring told = FailureText(refused);
    EXPECT_EQ(told.rfind(L"Cannot create file \"C:\\Pictures\\a.png\". Windows refused", 0), 0u);
    EXPECT_NE(told.find(L"Allow an app through Controlled folder access"), std::wstring::npos);
    for (auto other : {failure(false, L"C:\\Pictures\\a.png", 32), failure(false, L"D:\\a", 5)})
        EXPECT_EQ(FailureText(other), L"Cannot create file \"" + other.path + L"\". System words");

    const std::vector<std::wstring> guarded{L"C:\\Users\\me\\Pictures",
                                            L"C:\\Users\\Public\\Music\\"};
    EXPECT_TRUE(saveplace::InsideAny(L"c:/users/ME/pictures/x.png", guarded));
    EXPECT_TRUE(saveplace::InsideAny(L"C:\\Users\\Public\\Music\\a\\b.bmp", guarded));
    EXPECT_FALSE(saveplace::InsideAny(L"C:\\Users\\me\\Pictures2\\x.png", guarded));
}
