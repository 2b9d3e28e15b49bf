#pragma once

// The families of parameter paths: one row per parameter of the image that
// the editor's pages, strips, master section and set-up dialogs edit, with
// where its code is stored and how its value reads. A row's pattern names
// its placeholders: "<ch>" is "in.<A-H>" or "out.<1-8>", "<band>" the EQ
// bands of that side; "<A-H>" and "<1-8>" stand for one input or output.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "control/PathValue.h"
#include "model/BlockLayout.h"
#include "model/SetupSettings.h"

namespace orvane::control {

// Where a row's code lives and how a change is written.
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

struct SetupAccess {
  int (*get)(const SetupSettings& settings, int input) = nullptr;
  bool (*set)(SetupSettings& settings, int input, int code) = nullptr;
};

struct PathRow {
  std::string_view pattern;
  Sides sides;
  Store store;
  const ValueForm* form;
  Field (*field)(Side side, int band) = nullptr;  // Store::Channel
  bool follows = true;                            // Store::Channel: copied to the linked channels
  Limit limit = Limit::None;
  SetupAccess setup{};
  std::string_view example{};  // help text when the form's range says too little
  std::string_view refusal{};  // Store::Setup: why a value the block refuses is not taken
};

// A row for one side, with its placeholders written out.
struct PathFamily {
  std::string pattern;  // "in.<A-H>.eq.<1-8>.freq"
  Side side;
  const PathRow* row;
};

std::span<const PathFamily> pathFamilies();

// The switch form ("on", "off" and their aliases) of crosspoints and master paths.
const ValueForm& switchForm();

}  // namespace orvane::control
