#include "win/ErrorReport.h"

#include <utility>

#include "win/Application.h"
#include "win/ErrorText.h"
#include "win/Platform.h"
#include "win/Text.h"

namespace win {

namespace {
ErrorReportHandler& Handler() {
    static ErrorReportHandler handler;
    return handler;
}
}  // namespace

ErrorReportHandler SetErrorReportHandler(ErrorReportHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

void ShowErrorReport(const std::wstring& text) {
    std::wstring shown = WithFullStop(text);
    if (Handler()) {
        Handler()(shown);
        return;
    }
    HWND owner = Application().Handle();
    MessageBoxW(owner, shown.c_str(), Application().Title().c_str(), MB_OK | MB_ICONERROR);
}

void ReportCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const Error& e) {
            ShowErrorReport(e.Text());
        } catch (const std::exception& e) {
            ShowErrorReport(Widen(e.what()));
        } catch (...) {
            ShowErrorReport(L"Unknown error");
        }
    } catch (...) {
        // Showing the report itself failed; nothing more can be done.
    }
}

}  // namespace win
