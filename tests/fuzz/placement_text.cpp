// The window placement in the settings file, its lines as typed by anyone: four numbers read back
// as written, a word that is no number keeps its default, a placement is applied only as a real
// rectangle (a fixed-size window keeping its size), and what is saved reads back as it stood. The
// last capture region, four numbers in the same file, is offered only within the monitors.
#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "capture/RegionProposal.h"
#include "settings/Placement.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/unit/settings_fakes.h"

using namespace settings;

namespace {
// The window's bounds stay: a record from the file may span more than an int, which the platform
// would cut to the screen.
struct Window : fakes::PlacementWindow {
    void SetPlacement(const PlacementRecord& r) override {
        applied.push_back(r);
        record = r;
    }
};

auto Position(const PlacementRecord& r) {
    return std::tuple(r.flags, r.minX, r.minY, r.maxX, r.maxY, r.left, r.top, r.right, r.bottom);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::wstring lines[] = {in.Text('\n'), in.Text('\n'), in.Text('\n'), in.Text('\n'),
                                  in.Text()};

    const std::array<std::int32_t, 4> a{1, 2, 3, 4}, b{-1, -2, -3, -4};
    const auto four = ParseFour(lines[0], a), other = ParseFour(lines[0], b);
    for (std::size_t i = 0; i < 4; ++i)
        FUZZ_CHECK(four[i] == other[i] || (four[i] == a[i] && other[i] == b[i]));
    FUZZ_CHECK(ParseFour(FormatFour(four), b) == four);

    if (const auto kept = proposal::ParseRegion(lines[0])) {
        FUZZ_CHECK(proposal::ParseRegion(proposal::FormatRegion(*kept)) == kept);
        const std::vector<geo::Rect> monitors{{-1920, -300, 0, 780}, {0, 0, 2560, 1440}};
        if (const auto offered = proposal::OnDesk(*kept, monitors)) {
            FUZZ_CHECK(!offered->Empty() && offered->left >= kept->left &&
                       offered->right <= kept->right && offered->top >= kept->top &&
                       offered->bottom <= kept->bottom);
            FUZZ_CHECK(offered->left >= -1920 && offered->right <= 2560 && offered->top >= -300 &&
                       offered->bottom <= 1440);
        }
    }

    for (int shape = 0; shape < 4; ++shape) {
        fakes::ProfileFile files, savedFiles;
        IniFile ini(files, L"C:\\t.ini", L"TTintsnatch4"), saved(savedFiles, L"C:\\t.ini", L"T");
        const wchar_t* const keys[] = {L"NormPos", L"MinMaxPos", L"PixelsPerInch", L"ShowCmd",
                                       L"Flags"};
        for (int i = 0; i < 5; ++i) ini.WriteString(keys[i], lines[i]);
        Window window;
        window.visible = shape & 1;
        window.border = shape & 2 ? BorderStyle::Sizeable : BorderStyle::ToolWindow;
        const WindowBounds before = window.bounds;
        ReadPlacement(window, ini, true, true);
        for (const PlacementRecord& r : window.applied) {
            FUZZ_CHECK(r.right > r.left);
            if (window.border == BorderStyle::ToolWindow)
                FUZZ_CHECK(r.right - r.left == before.width && r.bottom - r.top == before.height);
        }

        WritePlacement(window, saved);
        Window again;
        again.visible = window.visible;
        again.border = window.border;
        ReadPlacement(again, saved, true, true);
        FUZZ_CHECK(Position(again.record) == Position(window.record));
        FUZZ_CHECK(again.state == window.state);
    }
    return 0;
}
