#pragma once

// Filters that Room EQ Wizard exports as a text file ("filter settings"),
// taken into the EQ bands of one channel. A room measurement suggests the
// filters; the tuning engineer moves them into a channel in one step instead
// of typing every band.
//
// The file starts with a header (title, version, date, notes, equaliser),
// then holds one line per filter:
//   Filter  1: ON  PK       Fc   63.0 Hz  Gain  -4.5 dB  Q  2.10
//   Filter  2: ON  LS 6dB   Fc   80.0 Hz  Gain   3.0 dB
//   Filter  3: ON  None
// Lines that are switched OFF and filters of type None are skipped.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/BlockLayout.h"

namespace orvane {
class ParameterImage;
}

namespace orvane::RewFilterImport {

enum class FilterType { Peaking, LowShelf, HighShelf };

// One working filter of the file, as written there.
struct Filter {
  int line;  // 1-based line of the file
  FilterType type;
  double frequency;  // Hz
  double gainDb;
  std::optional<double> q;
  std::optional<double> slopeDb;  // shelf slope in dB per octave
};

struct Parsed {
  std::vector<Filter> filters;
  // One text per fault, in the current language, naming its line:
  // "line 7: unknown filter type 'XO'".
  std::vector<std::string> problems;
};

// Reads the whole text of a file: Unix or Windows line endings, spaces or
// tabs between the words, frequencies as "1000 Hz", "1.00 kHz" or "1,000".
// A file with no filter line at all is a problem too: it is not a filter
// export.
Parsed parse(std::string_view text);

// Writes the filters into the EQ bands of one channel of the edited image,
// in file order from band 1, and switches the remaining bands off (0 dB):
//   peaking -> band type 0, the Q as the nearest bandwidth code;
//   shelves -> types 1 and 2, the band's shelf slope nearest the file's
//              (taken from the Q when the file gives one; 6 dB/oct without);
//   frequency on the editor's frequency grid, within the type's range;
//   gain within the band's gain range.
// Returns an empty text on success. With parse problems, or more filters
// than the channel has bands, returns the reason (the filters that do not
// fit named by line) and leaves the image as it was. All bands change under
// one lock, so the worker never sends half an import.
std::string apply(ParameterImage& image, Side side, int channel, const Parsed& parsed);

}  // namespace orvane::RewFilterImport
