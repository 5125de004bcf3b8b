#pragma once
// The announcements through UI Automation's notification event (Windows 10 1709 and later),
// raised from the provider of a window of ours that the user sees: the main window, or while it
// is hidden an overlay that speaks for it. With none of ours in view nothing is said: a window
// that is not shown is not in the tree that screen readers listen to. Where the system has no
// notifications nothing is said and nothing fails.
#include <memory>
#include <string>

#include "access/Announcer.h"
#include "access/UiaWindow.h"

namespace a11y {

class UiaAnnouncer : public Announcer {
  public:
    // How long the pointer rests before what it rests on is said: the loupe's own rest.
    static constexpr UINT RestMs = 500;

    UiaAnnouncer(HWND mainWindow, std::shared_ptr<UiaPlatform> platform);

    void Announce(const std::wstring& text) override;
    void AnnounceAtRest(const std::wstring& text) override;
    std::shared_ptr<void> SpeakFrom(HWND window) override;

  private:
    // The window announcements come from now, or none.
    UiaWindow* Speaker();

    std::shared_ptr<UiaPlatform> platform_;
    UiaWindow main_;
    // The window lent last; shared with the holders of the lent voices, which may outlive us.
    std::shared_ptr<UiaWindow*> lent_ = std::make_shared<UiaWindow*>(nullptr);
};

}  // namespace a11y
