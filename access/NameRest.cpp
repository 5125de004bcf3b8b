#include "access/NameRest.h"

#include <utility>

namespace a11y {

std::vector<std::size_t> NameRest::Observe(bool resting, const std::function<Names()>& names) {
    std::vector<std::size_t> changed;
    if (!resting) return changed;
    Names now = names();
    for (std::size_t i = 0; i < now.size(); ++i)
        if (i >= told_.size() || told_[i] != now[i]) changed.push_back(i);
    told_ = std::move(now);
    return changed;
}

}  // namespace a11y
