#pragma once

// What every fuzz target asserts about the parameter image after feeding
// it: the invariants the editor relies on, and a byte picture of the whole
// image to prove that a refused input changed nothing.

#include <cstdint>
#include <vector>

namespace orvane {
class ParameterImage;
}

namespace orvane::fuzz {

// Stops the run with `what` on stderr when `condition` does not hold; the
// fuzzer keeps the input that got here.
void require(bool condition, const char* what);

// Every value the image keeps outside the raw channel blocks stays within
// its range: start-up program, program number, ID table, lock flags and
// password, network name, class levels, memos, selection and link groups.
void checkImageInvariants(const ParameterImage& image);

// Everything the image holds, as bytes, for before/after comparisons.
std::vector<std::uint8_t> imagePicture(const ParameterImage& image);

}  // namespace orvane::fuzz
