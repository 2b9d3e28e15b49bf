#pragma once

// Readable addresses of the parameters of the image, for scripts:
// "in.A.gain", "out.3.eq.9.freq", "matrix.B.4", "master.in.level",
// "setup.mode". A path reads its value as the editor shows it and takes a
// new value with the editor's rules: the same units, ranges, snapping,
// limits between neighbouring fields and link-group copies.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/BlockLayout.h"

namespace orvane {
struct CatalogEntry;
struct CatalogFamily;
class LinkGroups;
class ParameterImage;
}  // namespace orvane

namespace orvane::control {

// How a changed value reaches the device.
enum class Delivery {
  Rows,            // the worker sends the changed rows of the channel blocks by itself
  SetupBlock,      // the caller sends the set-up block
  ExtendedBlock,   // the caller sends the extended set-up block
  StartupProgram,  // the caller sends the start-up program
};

struct SetOutcome {
  std::string error;  // empty on success; else one line naming the bad part
  Delivery delivery = Delivery::Rows;
  std::vector<std::string> changed;  // paths whose value changed, linked channels included
};

class ParameterPath {
 public:
  // Parses e.g. "in.A.gain" (words and channel letters in either case); on
  // failure returns the one-line message naming the bad part.
  static std::variant<ParameterPath, std::string> parse(std::string_view text);

  // The canonical path text: "in.A.eq.3.freq".
  const std::string& name() const { return name_; }
  Delivery delivery() const;
  // The function lock that guards the path; -1 for none.
  int lock() const;

  // What the user is shown for the parameter in the current language:
  // "Input A gain", "输出3 均衡2 增益".
  std::string label() const;
  // The catalog entry the path belongs to, and the side it is on.
  const CatalogEntry& entry() const;
  Side side() const { return side_; }
  // The first placeholder's value: the channel, or the input of a
  // crosspoint or threshold; 0 without one.
  int channel() const { return channel_; }

  // The value as the editor shows it, with its unit.
  std::string text(const ParameterImage& image) const;

  // Converts `value` by the field's rules, writes it into the edited image
  // and, unless `followLinks` is false, copies it to the channel's link
  // group as the editor does. `links` may be null: nothing is copied and a
  // link group cannot be set.
  SetOutcome set(ParameterImage& image, LinkGroups* links, std::string_view value, bool followLinks) const;

  // Every path family with its value form, one line each, for the help.
  static std::vector<std::string> families();
  // Every concrete path ("in.A.gain" ... "setup.startup").
  static std::vector<ParameterPath> all();

 private:
  ParameterPath(const CatalogFamily& family, int channel, int index);

  int code(const ParameterImage& image) const;
  std::string apply(ParameterImage& image, LinkGroups* links, std::string_view value, bool followLinks) const;
  std::string applyChannel(ParameterImage& image, LinkGroups* links, std::string_view value,
                           bool followLinks) const;
  std::string applyOther(ParameterImage& image, LinkGroups* links, std::string_view value) const;
  std::string applySetup(ParameterImage& image, std::string_view value) const;
  int limited(const ParameterImage& image, Field field, int code) const;
  bool sameScope(const ParameterPath& other) const;

  const CatalogFamily* family_;
  Side side_;
  int channel_;  // the first placeholder: channel, or input of a crosspoint or threshold
  int index_;    // the second: EQ band, or output of a crosspoint
  std::string name_;
};

}  // namespace orvane::control
