#pragma once

// Compares two sets of channel blocks byte by byte; a failure names the
// first byte where they part, so a test says which channel and field went
// astray.

#include <gtest/gtest.h>

#include "model/BlockSet.h"

namespace orvane {

::testing::AssertionResult sameBlocks(const BlockSet& actual, const BlockSet& expected);

}  // namespace orvane
