#pragma once

// Every parameter of the image that the editor's pages, strips, master
// section and set-up dialogs edit, one entry each: its path ("in.<A-H>.gain"),
// where its code is stored, how its value reads (a scale, a choice list or
// a name), the function lock that guards it, whether link groups follow it
// and the rule that ties it to its neighbours. The command line, the server,
// the report and the pages read their parameters from here.
//
// An entry's pattern names its placeholders: "<ch>" is "in.<A-H>" or
// "out.<1-8>", "<band>" the EQ bands of that side; "<A-H>" and "<1-8>" stand
// for one input or output.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/BlockLayout.h"
#include "model/ChoiceList.h"
#include "model/Language.h"
#include "model/ParameterScale.h"
#include "model/SetupSettings.h"

namespace orvane {

// Where an entry's code lives and how a change is written.
enum class Store : std::uint8_t {
  Channel,       // a field of a channel block, copied to the link group
  Name,          // the channel name bytes
  Group,         // the channel's link group: joining copies the group's parameters
  Matrix,        // a crosspoint's mix level, with its memo
  MasterLevel,   // `Allvolume` of all eight blocks of the side, with its memo
  MasterMute,    // the master mute of the side
  AntiFeedback,  // `All_Feedback` of all inputs
  Setup,         // a field of the set-up block
  Startup,       // the start-up program
};

// A rule tying a channel field to the others, as on the channel pages.
enum class Limit : std::uint8_t {
  None,
  Corner,          // a crossover corner stays on its side of the other one
  ShelfFrequency,  // a low shelf stays at or below 2000 Hz, a high shelf at or above
  BandKind,        // a new shelf kind moves the band's frequency to its side of 2000 Hz
};

enum class Sides : std::uint8_t { Input = 1, Output = 2, Both = 3 };

// How a value reads and is typed.
struct ParameterValue {
  enum class Form : std::uint8_t {
    Number,  // a figure on `scale`
    Ratio,   // "4:1", "1:4" or "4": snapped to a ratio the device has
    Choice,  // one of `choices`
    Name,    // free text, stored by the entry itself
  };

  Form form = Form::Number;
  const ParameterScale* scale = nullptr;  // Number, Ratio
  const ChoiceList* choices = nullptr;    // Choice
  bool strict = false;                    // a figure outside the range is refused, not clamped
  std::string_view what;                  // "a level in dB": what a typed value must be
};

// The function lock of each side; none where the side has no such entry.
struct EntryLocks {
  int input = -1;
  int output = -1;
};

struct SetupAccess {
  int (*get)(const SetupSettings& settings, int input) = nullptr;
  bool (*set)(SetupSettings& settings, int input, int code) = nullptr;
};

struct CatalogEntry {
  std::string_view pattern;
  Sides sides;
  Store store;
  EntryLocks locks;
  ParameterValue value;
  // The field of the channel block: Store::Channel, and the master level
  // and anti-feedback each block holds.
  Field (*field)(Side side, int band) = nullptr;
  bool follows = true;  // Store::Channel: copied to the linked channels
  Limit limit = Limit::None;
  SetupAccess setup{};
  std::string_view example{};  // help text when the value's range says too little
  std::string_view refusal{};  // Store::Setup: why a value the block refuses is not taken

  bool covers(Side side) const {
    return (static_cast<int>(sides) & static_cast<int>(side == Side::Input ? Sides::Input : Sides::Output)) !=
           0;
  }
  // The lock of `side`; none when the side has no such entry.
  int lock(Side side) const {
    if (!covers(side)) return -1;
    return side == Side::Input ? locks.input : locks.output;
  }
};

// An entry for one side, with its placeholders written out.
struct CatalogFamily {
  std::string pattern;  // "in.<A-H>.eq.<1-8>.freq"
  Side side;
  const CatalogEntry* entry;
};

class ParameterCatalog {
 public:
  static std::span<const CatalogEntry> entries();
  static std::span<const CatalogFamily> families();
  // The entry of `pattern` ("<ch>.gain") on `side`; null when the side has
  // none.
  static const CatalogEntry* entry(std::string_view pattern, Side side);
  // The lock of the function a path starts with ("in.B.eq", "matrix");
  // none for a function no entry has.
  static std::optional<int> lockOf(std::string_view function);
  // What `entry` is called in a list for the user: "%1 gain", where "%1"
  // and "%2" stand for the entry's placeholders.
  static BiText label(const CatalogEntry& entry);
  // The form of the master section's and the crosspoints' switches.
  static const ParameterValue& switchValue();
};

}  // namespace orvane
