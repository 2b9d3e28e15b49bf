#include "control/ParameterComparison.h"

#include <algorithm>

#include "model/ParameterCatalog.h"

namespace orvane::control {

namespace {

bool heldByPrograms(const CatalogEntry& entry) {
  return entry.store != Store::Setup && entry.store != Store::Startup;
}

// An entry showing the same field as an entry before it on `side`: the
// bandwidth and the Q of an EQ band are one stored value.
bool repeats(const CatalogEntry& entry, Side side) {
  if (!entry.field) return false;
  for (const CatalogEntry& earlier : ParameterCatalog::entries()) {
    if (&earlier == &entry) return false;
    if (earlier.covers(side) && earlier.field && earlier.field(side, 0) == entry.field(side, 0)) return true;
  }
  return false;
}

// The channels first, each with all its values together, inputs before
// outputs; then the crosspoints and the master section.
int groupOf(const ParameterPath& path) {
  switch (path.entry().store) {
    case Store::Channel:
    case Store::Name:
    case Store::Group:
      return (path.side() == Side::Input ? 0 : kChannels) + path.channel();
    case Store::Matrix:
      return 2 * kChannels;
    default:
      return 2 * kChannels + 1;
  }
}

std::vector<ParameterPath> comparedPaths() {
  std::vector<ParameterPath> paths;
  for (const ParameterPath& path : ParameterPath::all()) {
    const CatalogEntry& entry = path.entry();
    if (heldByPrograms(entry) && !repeats(entry, path.side())) paths.push_back(path);
  }
  std::stable_sort(paths.begin(), paths.end(),
                   [](const ParameterPath& a, const ParameterPath& b) { return groupOf(a) < groupOf(b); });
  return paths;
}

}  // namespace

const std::vector<ParameterPath>& ParameterComparison::compared() {
  static const std::vector<ParameterPath> paths = comparedPaths();
  return paths;
}

std::vector<Difference> ParameterComparison::differences(const ParameterImage& left,
                                                         const ParameterImage& right) {
  std::vector<Difference> found;
  for (const ParameterPath& path : compared()) {
    std::string a = path.text(left);
    std::string b = path.text(right);
    if (a != b) found.push_back({path, std::move(a), std::move(b)});
  }
  return found;
}

}  // namespace orvane::control
