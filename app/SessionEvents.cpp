#include "app/SessionEvents.h"

namespace session {

Change Classify(std::uintptr_t event, std::uint32_t eventSession,
                std::optional<std::uint32_t> ownSession) {
    // Every notification names its session. On a shared host another user's lock or
    // disconnect says nothing about this session's screen.
    if (ownSession && eventSession != *ownSession) return Change::None;
    switch (event) {
        case 2:  // console disconnect
        case 4:  // remote disconnect
        case 7:  // lock
            return Change::Away;
        case 1:  // console connect
        case 3:  // remote connect
        case 8:  // unlock
            return Change::Back;
        default:
            return Change::None;
    }
}

}  // namespace session
