#pragma once

// The parameter report: every parameter of the working state, one row per
// parameter and one column per channel (inputs A..H, then outputs 1..8),
// each value in the text the editor shows for it, and "Lock" where a
// function lock hides the value. The dialog shows it, prints it and exports
// it; other tools can produce the same table.

#include <array>
#include <string>
#include <string_view>

#include "model/BlockLayout.h"

namespace orvane {

struct CatalogEntry;
class ChannelFilters;
class ParameterImage;

class ReportTable {
 public:
  static constexpr int kRows = 71;
  static constexpr int kColumns = 17;  // "Type", then 8 inputs and 8 outputs

  // The table of the edited image and its filter models, in the current
  // language.
  static ReportTable build(const ParameterImage& image, ChannelFilters& filters);

  // "Type", "CH_A" .. "CH_H", "CH_1" .. "CH_8": the same in both languages.
  static std::string_view caption(int column);
  // Column 0 holds the row's name.
  const std::string& cell(int row, int column) const;
  // Rows of one kind of parameter share a group (channel settings, matrix,
  // AGC, dynamics, crossover, each EQ band), for colouring.
  static int group(int row);
  // The catalog entry whose value `row` shows on `side`; null where the
  // side leaves the row's cells empty.
  static const CatalogEntry* entryOf(int row, Side side);

 private:
  std::array<std::array<std::string, kColumns>, kRows> cells_;
};

}  // namespace orvane
