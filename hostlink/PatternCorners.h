#pragma once
// Orders the points marked on the square template into the four corner slots
// that the host expects in the pattern-feature block.
#include <span>

#include "hostlink/BlockLayouts.h"

namespace hostlink {

// Centre = the points' mean, each coordinate rounded as trunc(mean + 0.5) in
// single precision. Each point goes to the slot of its quadrant around the
// centre (picture y grows downwards, so "lower" means a larger y); a point on
// the centre's row or column goes nowhere; a later point replaces an earlier
// one in the same quadrant; a slot without a point stays (-1, -1).
PatternCorners OrderPatternCorners(std::span<const HostPoint> points);

}  // namespace hostlink
