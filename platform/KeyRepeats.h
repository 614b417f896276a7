#pragma once

#include <chrono>

namespace kivo {

// A held key repeats as a release followed by a press, not always marked as repeats;
// the press comes this long after its release at the latest, so a release that no
// press follows within it lets the key go for good.
inline constexpr std::chrono::milliseconds repeatedPressLag{40};

} // namespace kivo
