#include "editor/StepNames.h"

#include "model/Language.h"

namespace orvane::editor::StepNames {

namespace {

// A step whose bytes changed no value the pages show (a memo).
constexpr BiText kUnseen{"Edit", "编辑"};
constexpr BiText kMoreBefore{" (+", "（另有"};
constexpr BiText kMoreAfter{" more)", "项）"};

}  // namespace

std::string describe(std::span<const control::Difference> changed) {
  if (changed.empty()) return std::string(kUnseen.current());
  const control::Difference& first = changed.front();
  std::string name = first.path.label() + " " + first.right;
  if (changed.size() > 1)
    name += std::string(kMoreBefore.current()) + std::to_string(changed.size() - 1) +
            std::string(kMoreAfter.current());
  return name;
}

}  // namespace orvane::editor::StepNames
