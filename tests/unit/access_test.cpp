#include <gtest/gtest.h>

#include "access/Contrast.h"
#include "access/NameRest.h"
#include "access/Names.h"

using namespace a11y;

TEST(AccessNames, EachKindHasItsRoleAndTheProxyOrNameItNeeds) {
    struct Row {
        Kind kind;
        Role role;
        bool proxied, annotatedRole, fixedName;
        bool nameInText = true;
    };
    for (const Row& r : {Row{Kind::Readout, Role::StaticText, true, false, false},
                         Row{Kind::Swatch, Role::Graphic, true, true, false},
                         Row{Kind::Magnifier, Role::Graphic, true, true, false},
                         Row{Kind::Slider, Role::Slider, false, false, true},
                         Row{Kind::HotKeyEdit, Role::HotKeyField, false, false, true},
                         Row{Kind::Picture, Role::Graphic, true, true, false},
                         Row{Kind::UpDown, Role::SpinButton, false, false, true},
                         // An edit's text is what it holds: its name is only annotated.
                         Row{Kind::Edit, Role::Text, false, false, true, false}}) {
        const Presentation p = PresentationOf(r.kind);
        EXPECT_EQ(p.role, r.role);
        EXPECT_STREQ(p.proxyClass ? p.proxyClass : L"", r.proxied ? L"STATIC" : L"");
        EXPECT_EQ(p.annotateRole, r.annotatedRole);
        EXPECT_EQ(p.fixedName, r.fixedName);
        EXPECT_EQ(p.nameInText, r.nameInText);
    }
}

TEST(AccessNames, NamesSayWhatTheControlShows) {
    EXPECT_EQ(SwatchName(L"255 128 0", true), L"Colour 255 128 0");
    EXPECT_EQ(SwatchName(L"", false), L"Colour, none sampled yet");
    // 74 pixels at level 15 take 10 from the screen: 7.4 times; at 100, 1:1.
    EXPECT_EQ(MagnifierName(74, 15), L"Magnifier, zoom 7.4x");
    EXPECT_EQ(MagnifierName(74, 100), L"Magnifier, zoom 1x");
    EXPECT_EQ(MagnifierName(111, 15), L"Magnifier, zoom 6.9x");  // 144 DPI: 16 pixels taken
    EXPECT_EQ(MagnifierName(74, 2), L"Magnifier, zoom level 2");
    EXPECT_EQ(LabelName(L"Toggle show/hide:"), L"Toggle show/hide");
    EXPECT_EQ(LabelName(L"Ca&pture: "), L"Capture");
    EXPECT_EQ(LabelName(L"Copy && paste"), L"Copy & paste");
    EXPECT_EQ(CopiedText(L"255 128 0"), L"Copied 255 128 0");
    EXPECT_EQ(CopiedText(L""), L"Copied an empty text");
    EXPECT_EQ(CopiedPicture(200, 150), L"Copied a picture of 200 x 150 pixels");
    EXPECT_EQ(CapturedImageName(200, 150), L"Captured image, 200 x 150 pixels");
    EXPECT_EQ(CapturedImageName(0, 0), L"Captured image, empty");
    EXPECT_EQ(HistoryEntryName(L"#FF8000", true), L"#FF8000, pinned");
    EXPECT_EQ(HistoryEntryName(L"", false), L"Colour");  // a template that gives no text
    EXPECT_EQ(PinName(2, 200, 150, 125), L"Pinned capture 2, 200 x 150 pixels, 125%");
}

TEST(AccessNameRest, RaisesOnlyAtRestAndOnlyWhatChangedSinceLastRaised) {
    NameRest rest;
    NameRest::Names names{L"R:1", L"G:2", L"Colour 1 2 3"};
    int asked = 0;
    auto now = [&] {
        ++asked;
        return names;
    };
    EXPECT_TRUE(rest.Observe(false, now).empty());
    EXPECT_EQ(asked, 0);  // moving: the names are not even made
    EXPECT_EQ(rest.Observe(true, now), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_TRUE(rest.Observe(true, now).empty());
    names[1] = L"G:9";
    EXPECT_TRUE(rest.Observe(false, now).empty());
    EXPECT_EQ(rest.Observe(true, now), (std::vector<std::size_t>{1}));
    rest.Reset();
    EXPECT_EQ(rest.Observe(true, now).size(), 3u);
}

namespace {
// Tells whether two colours of a look could vanish into each other.
void ExpectVisible(const Look& look, Rgb face) {
    EXPECT_NE(look.readoutText, look.readoutBack);
    EXPECT_NE(look.swatchFrame, face);
    ASSERT_TRUE(look.magnifierFrame);
    EXPECT_NE(*look.magnifierFrame, face);
    EXPECT_NE(look.sizeText, look.sizeBack);
    ASSERT_TRUE(look.sizeFrame);
}
}  // namespace

TEST(AccessContrast, OffKeepsTheLookAndOnTakesSystemColoursThatNeverVanish) {
    const SystemColors classic;
    const Look off = LookFor(false, classic);
    EXPECT_EQ(off.readoutText, classic.windowText);
    EXPECT_EQ(off.readoutBack, classic.btnFace);
    EXPECT_EQ(off.swatchFrame, 0x000000u);
    EXPECT_FALSE(off.magnifierFrame);
    EXPECT_EQ(off.sizeBack, 0xE1FFFFu);
    EXPECT_FALSE(off.sizeFrame);

    // High Contrast black: white and yellow text on black.
    const SystemColors black{0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF};
    const Look onBlack = LookFor(true, black);
    EXPECT_EQ(onBlack.readoutText, 0xFFFFFFu);
    EXPECT_EQ(onBlack.readoutBack, 0x000000u);
    EXPECT_EQ(onBlack.swatchFrame, 0xFFFFFFu);
    ExpectVisible(onBlack, black.btnFace);
    // High Contrast white, and a theme of the user's whose text colours are all its face.
    ExpectVisible(LookFor(true, {0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0}), 0xFFFFFF);
    const Look odd = LookFor(true, {0x202020, 0x202020, 0x202020, 0x202020, 0x808080, 0x808080});
    ExpectVisible(odd, 0x202020);
    EXPECT_EQ(odd.readoutText, 0xFFFFFFu);  // white stands out most from a dark face
}

TEST(AccessContrast, HintsAndTheAboutPageTakeTheSystemsColoursInHighContrast) {
    const SystemColors classic;
    EXPECT_EQ(HintColorsFor(false, classic, std::nullopt),
              (HintColors{classic.infoBk, classic.infoText, 0x000000}));
    EXPECT_EQ(HintColorsFor(false, classic, 0x123456u).back, 0x123456u) << "a link's colour";
    // High Contrast black, its links in cyan: the system's colours whatever a link chose.
    const SystemColors black{0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFF00};
    EXPECT_EQ(HintColorsFor(true, black, 0x123456u), (HintColors{0x000000, 0xFFFFFF, 0xFFFFFF}));

    // The About page over its near-white picture: dark text, blue links; a theme with white
    // window text gets black on it, not white.
    constexpr Rgb nearWhite = 0xF4F0EE;
    EXPECT_EQ(AboutLookFor(false, classic, nearWhite), (PageLook{nearWhite, 0, 0xFF0000, true}));
    SystemColors whiteText;
    whiteText.windowText = 0xFFFFFF;
    EXPECT_EQ(AboutLookFor(false, whiteText, nearWhite).text, 0x000000u);
    EXPECT_EQ(AboutLookFor(false, classic, 0x301010).link, 0xFFFFFFu) << "blue unread on dark";
    // In High Contrast no picture, and the page in the system's colours.
    EXPECT_EQ(AboutLookFor(true, black, nearWhite),
              (PageLook{0x000000, 0xFFFFFF, 0xFFFF00, false}));
}
