#pragma once
// What a session notification means for the sampling: the screen of this session can no longer
// be read, it can again, or nothing. Plain numbers, so the rule is tested without a session.
#include <cstdint>
#include <optional>

namespace session {

enum class Change { None, Away, Back };

// event is the notification's code as the platform numbers it (WM_WTSSESSION_CHANGE's wParam:
// 1 console connect, 2 console disconnect, 3 remote connect, 4 remote disconnect, 7 lock,
// 8 unlock); eventSession the session it is about (its lParam); ownSession this process's
// session, none when it could not be found, and then every notification counts.
Change Classify(std::uintptr_t event, std::uint32_t eventSession,
                std::optional<std::uint32_t> ownSession);

}  // namespace session
