#pragma once

// The short names the channel pages, the graph and the parameter report use
// for band kinds, shelf slopes, crossover slopes and filter families. A code
// outside its list (a damaged record) has no name: the empty text.

#include <string_view>

#include "dsp/FilterKind.h"

namespace orvane::FilterTexts {

std::string_view kind(FilterKind kind, bool english);
std::string_view shelfSlope(int slope);
std::string_view crossoverSlope(int slope);
std::string_view family(int family, bool english);

}  // namespace orvane::FilterTexts
