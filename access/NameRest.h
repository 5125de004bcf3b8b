#pragma once
// When a screen reader hears that a name changed. The readouts change many times a second while
// the cursor moves; a listener told of each change would read out a queue of stale colours.
// Told only once the sampler rests, of the names that differ from what it was told last, it
// hears the colour the user stopped on, once.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace a11y {

class NameRest {
  public:
    using Names = std::vector<std::wstring>;
    // One tick: whether the sampler rests now, and the names the controls have (asked only at
    // rest). Returns the positions of the names to raise a change for: none while the sampler
    // moves, and at rest those that changed since they were last raised (all, the first time).
    std::vector<std::size_t> Observe(bool resting, const std::function<Names()>& names);
    // Forgets what was told (the window hid): the next rest tells every name again.
    void Reset() { told_.clear(); }

  private:
    Names told_;
};

}  // namespace a11y
