#include "control/PathTable.h"

#include <array>

namespace orvane::control {

namespace {

// --- value forms -----------------------------------------------------------

constexpr std::string_view kLevelDb = "a level in dB";
constexpr std::string_view kLevelOrOff = "a level in dB or OFF";

constexpr std::array<Choice, 10> kSwitch{{{"on", 1},
                                          {"off", 0},
                                          {"1", 1},
                                          {"0", 0},
                                          {"true", 1},
                                          {"false", 0},
                                          {"yes", 1},
                                          {"no", 0},
                                          {"enabled", 1},
                                          {"disabled", 0}}};
// `Mute`: 1 = channel sounds, 0 = muted.
constexpr std::array<Choice, 6> kMuteChoices{
    {{"on", 0}, {"off", 1}, {"1", 0}, {"0", 1}, {"muted", 0}, {"sounding", 1}}};
// `Polarity`: 1 = normal, 0 = inverted.
constexpr std::array<Choice, 4> kPolarityChoices{{{"normal", 1}, {"inverted", 0}, {"0", 1}, {"180", 0}}};
constexpr std::array<Choice, 9> kBandKinds{{{"peak", 0},
                                            {"lowshelf", 1},
                                            {"highshelf", 2},
                                            {"PEQ", 0},
                                            {"PK", 0},
                                            {"LS", 1},
                                            {"HS", 2},
                                            {"Lo_Shf", 1},
                                            {"Hi_Shf", 2}}};
constexpr std::array<Choice, 6> kShelfSlopes{
    {{"6dB/oct", 0}, {"12dB/oct", 1}, {"6", 0}, {"12", 1}, {"6dB", 0}, {"12dB", 1}}};
constexpr std::array<Choice, 14> kCrossoverSlopes{{{"12dB/oct", 0},
                                                   {"18dB/oct", 1},
                                                   {"24dB/oct", 2},
                                                   {"30dB/oct", 3},
                                                   {"36dB/oct", 4},
                                                   {"42dB/oct", 5},
                                                   {"48dB/oct", 6},
                                                   {"12", 0},
                                                   {"18", 1},
                                                   {"24", 2},
                                                   {"30", 3},
                                                   {"36", 4},
                                                   {"42", 5},
                                                   {"48", 6}}};
constexpr std::array<Choice, 6> kFamilies{
    {{"L_R", 0}, {"Bessel", 1}, {"BTWorth", 2}, {"LR", 0}, {"Linkwitz-Riley", 0}, {"Butterworth", 2}}};
// `Feedback`: off, then levels 1..4.
constexpr std::array<Choice, 10> kFeedbackLevels{{{"OFF", 0},
                                                  {"Level 1", 5},
                                                  {"Level 2", 7},
                                                  {"Level 3", 9},
                                                  {"Level 4", 11},
                                                  {"0", 0},
                                                  {"1", 5},
                                                  {"2", 7},
                                                  {"3", 9},
                                                  {"4", 11}}};
constexpr std::array<Choice, 2> kDeviceModes{{{"slave", 0}, {"master", 1}}};
constexpr std::array<Choice, 2> kOutputs{{{"analog", 0}, {"digital", 1}}};
constexpr std::array<Choice, 2> kOperatingModes{{{"conference", 0}, {"discussion", 1}}};
constexpr std::array<Choice, 2> kPriorities{{{"representative", 0}, {"chairman", 1}}};

constexpr ValueForm numeric(NumKind kind, double step, double offset, int maximum, std::string_view unit,
                            std::string_view what, int minimum = 0) {
  ValueForm form;
  form.kind = kind;
  form.step = step;
  form.offset = offset;
  form.minimum = minimum;
  form.maximum = maximum;
  form.unit = unit;
  form.what = what;
  return form;
}
// Whole numbers; a list on the pages refuses what it does not hold (strict).
constexpr ValueForm whole(int minimum, int maximum, int shown, bool strict, std::string_view unit,
                          std::string_view what) {
  ValueForm form = numeric(NumKind::Integer, 1.0, 0.0, maximum, unit, what, minimum);
  form.shown = shown;
  form.strict = strict;
  return form;
}
constexpr ValueForm listed(std::string_view what, std::span<const Choice> choices) {
  ValueForm form;
  form.form = Form::Choice;
  form.what = what;
  form.choices = choices;
  return form;
}
constexpr ValueForm ratio(NumKind kind, std::string_view what) {
  ValueForm form = numeric(kind, 1.0, 0.0, 191, {}, what, 1);
  form.form = Form::Ratio;
  return form;
}
constexpr ValueForm named() {
  ValueForm form;
  form.form = Form::Name;
  form.what = "a name";
  return form;
}

using R = SetupSettings;
using K = NumKind;

constexpr ValueForm kName = named();
constexpr ValueForm kGain = numeric(K::Level, 0.1, 30, 420, "dB", kLevelDb);
constexpr ValueForm kMute = listed("on or off", kMuteChoices);
constexpr ValueForm kPolarity = listed("normal or inverted", kPolarityChoices);
constexpr ValueForm kDelay = numeric(K::DelayMs, 1, 0, 1470, "ms", "a delay in ms, m or ft");
constexpr ValueForm kLinkGroup = whole(1, 8, 1, true, {}, "a link group 1..8");
constexpr ValueForm kNoiseGate = numeric(K::WholeLevel, 1, 120, 130, "dBu", "a level in dBu or OFF");
constexpr ValueForm kFeedback = listed("OFF or a level 1..4", kFeedbackLevels);
constexpr ValueForm kFrequency = numeric(K::Frequency, 1, 0, 20000, "Hz", "a frequency in Hz", 20);
constexpr ValueForm kEqGain = numeric(K::Level, 0.1, 40, 600, "dB", kLevelDb);
constexpr ValueForm kOctaves = numeric(K::Octaves, 0.01, 0, 295, "oct", "a bandwidth in octaves");
constexpr ValueForm kQ = numeric(K::QFigure, 1, 0, 295, {}, "a Q figure");
constexpr ValueForm kBandKind = listed("peak, lowshelf or highshelf", kBandKinds);
constexpr ValueForm kShelfSlope = listed("6dB/oct or 12dB/oct", kShelfSlopes);
constexpr ValueForm kCrossoverSlope = listed("a slope 12..48dB/oct", kCrossoverSlopes);
constexpr ValueForm kFamily = listed("L_R, Bessel or BTWorth", kFamilies);
constexpr ValueForm kAgcLevel = numeric(K::LevelOffAtMin, 0.1, 80, 1000, "dB", kLevelOrOff);
constexpr ValueForm kInputCompressorLevel = numeric(K::LevelOffAtMax, 0.1, 30, 500, "dB", kLevelOrOff);
constexpr ValueForm kOutputLevel = numeric(K::LevelOffAtTop, 0.1, 30, 500, "dB", kLevelOrOff);
constexpr ValueForm kCompressorRatio = ratio(K::CompressorRatio, "a ratio such as 4:1");
constexpr ValueForm kAgcRatio = ratio(K::AgcRatio, "a ratio such as 1:4");
constexpr ValueForm kAttack = numeric(K::Attack, 1, 0, 206, "ms", "a time in ms");
constexpr ValueForm kRelease = whole(50, 5000, 50, false, "ms", "a time in ms");  // stored 50 ms lower
constexpr ValueForm kMix = numeric(K::LevelOffAtMin, 0.5, 60, 120, "dB", "a level in dB, on or off");
constexpr ValueForm kMasterLevel = numeric(K::LevelOffAtMin, 0.1, 60, 720, "dB", kLevelOrOff);
constexpr ValueForm kSwitchForm = listed("on or off", kSwitch);
constexpr ValueForm kDeviceMode = listed("master or slave", kDeviceModes);
constexpr ValueForm kOutput = listed("analog or digital", kOutputs);
constexpr ValueForm kOperatingMode = listed("conference or discussion", kOperatingModes);
constexpr ValueForm kPriority = listed("representative or chairman", kPriorities);
constexpr ValueForm kZeroDbfs =
    whole(R::kZeroDbfsDbu.min, R::kZeroDbfsDbu.max, 0, false, "dBu", "a level in dBu");
constexpr ValueForm kOpticalDelay =
    whole(0, R::kOpticalDelaySteps.max, 0, true, {}, "a number of 3.09 ms steps");
constexpr ValueForm kChannels = whole(R::kSimultaneousChannels.min + 1, R::kSimultaneousChannels.max + 1, 1,
                                      true, {}, "a number of channels");
constexpr ValueForm kThreshold =
    numeric(K::LevelDbu, 0.1, 120, R::kThresholdCode.max, "dBu", "a level in dBu", R::kThresholdCode.min);
constexpr ValueForm kAttenuation =
    numeric(K::LevelOffAtMin, 0.1, 80, R::kAttenuationCode.max, "dB", kLevelOrOff, R::kAttenuationCode.min);
constexpr ValueForm kStartup = whole(0, 30, 0, true, {}, "a program number (0 = the program run last)");

// --- fields ------------------------------------------------------------------

template <Field F>
Field fixed(Side, int) {
  return F;
}
template <Field BandFields::*M>
Field band(Side side, int number) {
  return bandFields(side, number).*M;
}
template <Field CrossoverFields::*M>
Field corner(Side side, int) {
  return crossoverFields(side).*M;
}

// --- set-up block ------------------------------------------------------------

template <class Enum, Enum (SetupSettings::*Get)() const, bool (SetupSettings::*Set)(Enum)>
constexpr SetupAccess choice() {
  return {[](const SetupSettings& s, int) { return static_cast<int>((s.*Get)()); },
          [](SetupSettings& s, int, int code) { return (s.*Set)(static_cast<Enum>(code)); }};
}
template <int (SetupSettings::*Get)() const, bool (SetupSettings::*Set)(int)>
constexpr SetupAccess number() {
  return {[](const SetupSettings& s, int) { return (s.*Get)(); },
          [](SetupSettings& s, int, int code) { return (s.*Set)(code); }};
}
template <Attenuation A>
constexpr SetupAccess attenuation() {
  return {[](const SetupSettings& s, int) { return s.attenuation(A); },
          [](SetupSettings& s, int, int code) { return s.setAttenuation(A, code); }};
}
constexpr SetupAccess kThresholdAccess{
    [](const SetupSettings& s, int input) { return s.threshold(input); },
    [](SetupSettings& s, int input, int code) { return s.setThreshold(input, code); }};
constexpr SetupAccess kPriorityAccess{
    [](const SetupSettings& s, int input) { return static_cast<int>(s.priority(input)); },
    [](SetupSettings& s, int input, int code) {
      return s.setPriority(input, static_cast<PriorityLevel>(code));
    }};

using S = Store;
using Sd = Sides;
using B = BandFields;
using X = CrossoverFields;
namespace In = InputField;
namespace Out = OutputField;
namespace C = CommonField;

// clang-format off
const std::array kRows{
    PathRow{"<ch>.name", Sd::Both, S::Name, &kName, nullptr, false, Limit::None, {}, "text of up to 8 bytes"},
    PathRow{"<ch>.gain", Sd::Both, S::Channel, &kGain, &fixed<C::Gain>},
    PathRow{"<ch>.mute", Sd::Both, S::Channel, &kMute, &fixed<C::Mute>, false},
    PathRow{"<ch>.polarity", Sd::Both, S::Channel, &kPolarity, &fixed<C::Polarity>},
    PathRow{"<ch>.delay", Sd::Both, S::Channel, &kDelay, &fixed<C::Delay>, true, Limit::None, {}, "2.5ms|3.2m|10ft"},
    PathRow{"<ch>.link", Sd::Both, S::Group, &kLinkGroup, &fixed<C::LinkGroup>, false},
    PathRow{"<ch>.gate", Sd::Input, S::Channel, &kNoiseGate, &fixed<In::NoiseGate>},
    PathRow{"<ch>.feedback", Sd::Input, S::Channel, &kFeedback, &fixed<In::Feedback>},
    PathRow{"<ch>.eq.<band>.freq", Sd::Both, S::Channel, &kFrequency, &band<&B::FQCY>, true, Limit::ShelfFrequency, {}, "1.2k|1200Hz"},
    PathRow{"<ch>.eq.<band>.gain", Sd::Both, S::Channel, &kEqGain, &band<&B::Gain>},
    PathRow{"<ch>.eq.<band>.bw", Sd::Both, S::Channel, &kOctaves, &band<&B::Q>},
    PathRow{"<ch>.eq.<band>.q", Sd::Both, S::Channel, &kQ, &band<&B::Q>},
    PathRow{"<ch>.eq.<band>.type", Sd::Both, S::Channel, &kBandKind, &band<&B::Type>, true, Limit::BandKind},
    PathRow{"<ch>.eq.<band>.slope", Sd::Both, S::Channel, &kShelfSlope, &band<&B::Slope>},
    PathRow{"<ch>.xover.lo.freq", Sd::Both, S::Channel, &kFrequency, &corner<&X::XFQCY_Lo>, true, Limit::Corner, {}, "80Hz (20 = off)"},
    PathRow{"<ch>.xover.lo.slope", Sd::Both, S::Channel, &kCrossoverSlope, &corner<&X::XSLope_Lo>},
    PathRow{"<ch>.xover.lo.family", Sd::Output, S::Channel, &kFamily, &corner<&X::XMode_Lo>},
    PathRow{"<ch>.xover.hi.freq", Sd::Both, S::Channel, &kFrequency, &corner<&X::XFQCY_Hi>, true, Limit::Corner, {}, "12k (20000 = off)"},
    PathRow{"<ch>.xover.hi.slope", Sd::Both, S::Channel, &kCrossoverSlope, &corner<&X::XSLope_Hi>},
    PathRow{"<ch>.xover.hi.family", Sd::Output, S::Channel, &kFamily, &corner<&X::XMode_Hi>},
    PathRow{"<ch>.agc.target", Sd::Input, S::Channel, &kAgcLevel, &fixed<In::AGC_TargetLevel>},
    PathRow{"<ch>.agc.threshold", Sd::Input, S::Channel, &kAgcLevel, &fixed<In::AGC_Threshold>},
    PathRow{"<ch>.agc.ratio", Sd::Input, S::Channel, &kAgcRatio, &fixed<In::AGC_Ratio>},
    PathRow{"<ch>.agc.response", Sd::Input, S::Channel, &kAttack, &fixed<In::AGC_ResponseTime>},
    PathRow{"<ch>.agc.release", Sd::Input, S::Channel, &kRelease, &fixed<In::AGC_ReleaseTime>},
    PathRow{"<ch>.comp.level", Sd::Input, S::Channel, &kInputCompressorLevel, &fixed<In::Comp_Level>},
    PathRow{"<ch>.comp.ratio", Sd::Input, S::Channel, &kCompressorRatio, &fixed<In::Comp_ratio>},
    PathRow{"<ch>.comp.attack", Sd::Input, S::Channel, &kAttack, &fixed<In::Comp_A>},
    PathRow{"<ch>.comp.release", Sd::Input, S::Channel, &kRelease, &fixed<In::Comp_R>},
    PathRow{"<ch>.comp.level", Sd::Output, S::Channel, &kOutputLevel, &fixed<Out::Comp_Level>},
    PathRow{"<ch>.comp.ratio", Sd::Output, S::Channel, &kCompressorRatio, &fixed<Out::Comp_ratio>},
    PathRow{"<ch>.comp.attack", Sd::Output, S::Channel, &kAttack, &fixed<Out::Comp_A>},
    PathRow{"<ch>.comp.release", Sd::Output, S::Channel, &kRelease, &fixed<Out::Comp_R>},
    PathRow{"<ch>.lim.threshold", Sd::Output, S::Channel, &kOutputLevel, &fixed<Out::Lim_Threshold>},
    PathRow{"<ch>.lim.attack", Sd::Output, S::Channel, &kAttack, &fixed<Out::Lim_Attack>},
    PathRow{"<ch>.lim.release", Sd::Output, S::Channel, &kRelease, &fixed<Out::Lim_Release>},
    PathRow{"matrix.<A-H>.<1-8>", Sd::Input, S::Matrix, &kMix, nullptr, false, Limit::None, {}, "-6.0dB|OFF|on|off"},
    PathRow{"master.in.level", Sd::Input, S::MasterLevel, &kMasterLevel},
    PathRow{"master.out.level", Sd::Output, S::MasterLevel, &kMasterLevel},
    PathRow{"master.in.mute", Sd::Input, S::MasterMute, &kSwitchForm},
    PathRow{"master.out.mute", Sd::Output, S::MasterMute, &kSwitchForm},
    PathRow{"master.antifeedback", Sd::Input, S::AntiFeedback, &kSwitchForm},
    PathRow{"setup.mode", Sd::Input, S::Setup, &kDeviceMode, nullptr, false, Limit::None,
            choice<DeviceMode, &SetupSettings::deviceMode, &SetupSettings::setDeviceMode>()},
    PathRow{"setup.output", Sd::Input, S::Setup, &kOutput, nullptr, false, Limit::None,
            choice<OutputSelection, &SetupSettings::output, &SetupSettings::setOutput>(), {},
            "a slave device takes digital output only"},
    PathRow{"setup.operating", Sd::Input, S::Setup, &kOperatingMode, nullptr, false, Limit::None,
            choice<OperatingMode, &SetupSettings::operatingMode, &SetupSettings::setOperatingMode>()},
    PathRow{"setup.zerodbfs", Sd::Input, S::Setup, &kZeroDbfs, nullptr, false, Limit::None,
            number<&SetupSettings::zeroDbfsDbu, &SetupSettings::setZeroDbfsDbu>()},
    PathRow{"setup.delay", Sd::Input, S::Setup, &kOpticalDelay, nullptr, false, Limit::None,
            number<&SetupSettings::opticalDelay, &SetupSettings::setOpticalDelay>(), "0..11 (x 3.09 ms)"},
    PathRow{"setup.channels", Sd::Input, S::Setup, &kChannels, nullptr, false, Limit::None,
            number<&SetupSettings::simultaneousChannels, &SetupSettings::setSimultaneousChannels>()},
    PathRow{"setup.threshold.<A-H>", Sd::Input, S::Setup, &kThreshold, nullptr, false, Limit::None, kThresholdAccess},
    PathRow{"setup.level.<A-H>", Sd::Input, S::Setup, &kPriority, nullptr, false, Limit::None, kPriorityAccess},
    PathRow{"setup.attenuation.conference.representative", Sd::Input, S::Setup, &kAttenuation, nullptr, false,
            Limit::None, attenuation<Attenuation::ConferenceRepresentative>()},
    PathRow{"setup.attenuation.conference.cascade", Sd::Input, S::Setup, &kAttenuation, nullptr, false,
            Limit::None, attenuation<Attenuation::ConferenceCascade>()},
    PathRow{"setup.attenuation.discussion.representative", Sd::Input, S::Setup, &kAttenuation, nullptr, false,
            Limit::None, attenuation<Attenuation::DiscussionRepresentative>()},
    PathRow{"setup.attenuation.discussion.cascade", Sd::Input, S::Setup, &kAttenuation, nullptr, false,
            Limit::None, attenuation<Attenuation::DiscussionCascade>()},
    PathRow{"setup.startup", Sd::Input, S::Startup, &kStartup, nullptr, false, Limit::None, {}, "0..30 (0 = the program run last)"},
};
// clang-format on

std::string expanded(std::string_view pattern, Side side) {
  std::string text(pattern);
  const auto replace = [&text](std::string_view from, std::string_view to) {
    if (const std::size_t at = text.find(from); at != std::string::npos) text.replace(at, from.size(), to);
  };
  replace("<ch>", side == Side::Input ? "in.<A-H>" : "out.<1-8>");
  replace("<band>", side == Side::Input ? "<1-8>" : "<1-9>");
  return text;
}

std::vector<PathFamily> expandAll() {
  std::vector<PathFamily> families;
  for (const PathRow& row : kRows) {
    for (Side side : {Side::Input, Side::Output}) {
      const auto bit = static_cast<int>(side == Side::Input ? Sides::Input : Sides::Output);
      if ((static_cast<int>(row.sides) & bit) == 0) continue;
      families.push_back({expanded(row.pattern, side), side, &row});
    }
  }
  return families;
}

}  // namespace

std::span<const PathFamily> pathFamilies() {
  static const std::vector<PathFamily> families = expandAll();
  return families;
}

const ValueForm& switchForm() {
  return kSwitchForm;
}

}  // namespace orvane::control
