#include "win/Gdi.h"

namespace gdi {
namespace {
int live = 0;  // UI thread only
}
int LiveCount() { return live; }
void CountAcquired() { ++live; }
void CountReleased() { --live; }
}  // namespace gdi
