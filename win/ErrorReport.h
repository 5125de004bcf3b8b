#pragma once
// The application's default error report, and the error type that carries a message to it.
#include <exception>
#include <functional>
#include <string>

namespace win {

// An error whose text is shown to the user as it stands (a full stop is added if missing).
class Error : public std::exception {
  public:
    explicit Error(std::wstring text) : text_(std::move(text)) {}
    const std::wstring& Text() const { return text_; }
    const char* what() const noexcept override { return "Tintsnatch error"; }

  private:
    std::wstring text_;
};

// Message box titled with the application title, error icon, the text with a full stop added
// when it has none. The application carries on afterwards.
void ShowErrorReport(const std::wstring& text);

// Replaces where reports go (tests watch them instead of a message box); returns the previous
// handler. An empty handler restores the message box.
using ErrorReportHandler = std::function<void(const std::wstring& shownText)>;
ErrorReportHandler SetErrorReportHandler(ErrorReportHandler handler);

// Reports the exception currently being handled; call only inside a catch block.
void ReportCurrentException() noexcept;

// Runs f, reporting anything it throws: the boundary at every window procedure and callback.
template <typename F>
void Guarded(F&& f) noexcept {
    try {
        f();
    } catch (...) {
        ReportCurrentException();
    }
}

}  // namespace win
