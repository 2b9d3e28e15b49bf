// Recomputing an element and summing a channel run at mouse-move rate while
// the user drags on the EQ graph; they must not touch the heap. This file
// replaces the global allocation functions with counting ones to prove it.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "dsp/CKTVEQ.h"
#include "model/ParameterImage.h"

namespace {
std::atomic<long> allocations{0};

void* countedAllocation(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) {
  return countedAllocation(size);
}
void* operator new[](std::size_t size) {
  return countedAllocation(size);
}
// Where g++ inlines one of these into the delete of a `new` expression, it
// takes the free() for a mismatch with the operator new it sees; here
// malloc() and free() are the pair.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
#pragma GCC diagnostic pop

namespace orvane {
namespace {

TEST(Allocation, RecomputeAndSumCurveUseNoHeap) {
  ParameterImage image;
  image.setBand(Side::Output, 0, 0, {1000, 460, 25, 0, 0});
  image.setBand(Side::Output, 0, 1, {100, 460, 25, 0, 1});
  image.setBand(Side::Output, 0, 2, {8000, 340, 25, 1, 2});
  image.setCrossover(Side::Output, 0, {100, 1, 3, 5000, 1, 6});
  CKTVEQ set;
  set.BuildOutput(image, 0);

  const long before = allocations.load();
  for (int i = 0; i < 3; ++i) set.element(i).Recompute(true);
  for (int family = 0; family < 3; ++family) {
    image.setCrossover(Side::Output, 0, {100, family, 6, 5000, family, 1});
    set.highPass().Recompute(false);
    set.lowPass().Recompute(false);
  }
  set.SumCurve(240);
  EXPECT_EQ(allocations.load() - before, 0);
  EXPECT_LT(set.sumDb()[0], -10);  // the work was done
}

}  // namespace
}  // namespace orvane
