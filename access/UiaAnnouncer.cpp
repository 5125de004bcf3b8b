#include "access/UiaAnnouncer.h"

#include <utility>

namespace a11y {

UiaAnnouncer::UiaAnnouncer(HWND mainWindow, std::shared_ptr<UiaPlatform> platform)
    : platform_(std::move(platform)), main_(mainWindow, platform_) {}

UiaWindow* UiaAnnouncer::Speaker() {
    if (UiaWindow* lent = *lent_; lent && lent->Handle() && IsWindowVisible(lent->Handle()))
        return lent;
    return main_.Handle() && IsWindowVisible(main_.Handle()) ? &main_ : nullptr;
}

void UiaAnnouncer::Announce(const std::wstring& text) {
    if (UiaWindow* speaker = Speaker()) (void)speaker->Say(text, Tell::Copied);
}

void UiaAnnouncer::AnnounceAtRest(const std::wstring& text) {
    if (UiaWindow* speaker = Speaker()) speaker->SayAtRest(text, RestMs);
}

std::shared_ptr<void> UiaAnnouncer::SpeakFrom(HWND window) {
    auto voice = std::make_unique<UiaWindow>(window, platform_);
    UiaWindow* before = std::exchange(*lent_, voice.get());
    // The voice goes when its holder lets it go; the one lent before speaks again.
    return std::shared_ptr<void>(voice.release(), [slot = lent_, before](void* lent) {
        auto* voice = static_cast<UiaWindow*>(lent);
        if (*slot == voice) *slot = before;
        delete voice;
    });
}

}  // namespace a11y
