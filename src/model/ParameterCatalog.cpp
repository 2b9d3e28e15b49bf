#include "model/ParameterCatalog.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "model/Choices.h"
#include "model/LockState.h"
#include "model/Scales.h"

namespace orvane {

namespace {

// --- values ------------------------------------------------------------------

using Form = ParameterValue::Form;

constexpr std::string_view kLevelDb = "a level in dB";
constexpr std::string_view kLevelOrOff = "a level in dB or OFF";

constexpr ParameterValue number(const ParameterScale& scale, std::string_view what) {
  return {Form::Number, &scale, nullptr, false, what};
}
// Whole numbers of a list on the pages: what the list does not hold is refused.
constexpr ParameterValue listedNumber(const ParameterScale& scale, std::string_view what) {
  return {Form::Number, &scale, nullptr, true, what};
}
constexpr ParameterValue listed(const ChoiceList& choices, std::string_view what) {
  return {Form::Choice, nullptr, &choices, false, what};
}
constexpr ParameterValue ratio(const ParameterScale& scale, std::string_view what) {
  return {Form::Ratio, &scale, nullptr, false, what};
}

namespace Sc = Scales;
namespace Ch = Choices;

constexpr ParameterValue kName{Form::Name, nullptr, nullptr, false, "a name"};
constexpr ParameterValue kGain = number(Sc::kChannelGain, kLevelDb);
constexpr ParameterValue kMute = listed(Ch::kMute, "on or off");
constexpr ParameterValue kPolarity = listed(Ch::kPolarity, "normal or inverted");
constexpr ParameterValue kDelay = number(Sc::kDelay, "a delay in ms, m or ft");
constexpr ParameterValue kLinkGroup = listedNumber(Sc::kLinkGroup, "a link group 1..8");
constexpr ParameterValue kNoiseGate = number(Sc::kNoiseGate, "a level in dBu or OFF");
constexpr ParameterValue kFeedback = listed(Ch::kFeedbackLevel, "OFF or a level 1..4");
constexpr ParameterValue kFrequency = number(Sc::kFrequency, "a frequency in Hz");
constexpr ParameterValue kEqGain = number(Sc::kEqGain, kLevelDb);
constexpr ParameterValue kOctaves = number(Sc::kOctaves, "a bandwidth in octaves");
constexpr ParameterValue kQ = number(Sc::kQ, "a Q figure");
constexpr ParameterValue kBandKind = listed(Ch::kBandType, "peak, lowshelf or highshelf");
constexpr ParameterValue kShelfSlope = listed(Ch::kShelfSlope, "6dB/oct or 12dB/oct");
constexpr ParameterValue kCrossoverSlope = listed(Ch::kCrossoverSlope, "a slope 12..48dB/oct");
constexpr ParameterValue kFamily = listed(Ch::kCrossoverFamily, "L_R, Bessel or BTWorth");
constexpr ParameterValue kAgcLevel = number(Sc::kAgcLevel, kLevelOrOff);
constexpr ParameterValue kInputCompressorLevel = number(Sc::kInputCompressorLevel, kLevelOrOff);
constexpr ParameterValue kOutputLevel = number(Sc::kOutputLevel, kLevelOrOff);
constexpr ParameterValue kCompressorRatio = ratio(Sc::kCompressorRatio, "a ratio such as 4:1");
constexpr ParameterValue kAgcRatio = ratio(Sc::kAgcRatio, "a ratio such as 1:4");
constexpr ParameterValue kAttack = number(Sc::kAttack, "a time in ms");
constexpr ParameterValue kRelease = number(Sc::kRelease, "a time in ms");
constexpr ParameterValue kMix = number(Sc::kMixLevel, "a level in dB, on or off");
constexpr ParameterValue kMasterLevel = number(Sc::kMasterLevel, kLevelOrOff);
constexpr ParameterValue kSwitch = listed(Ch::kSwitch, "on or off");
constexpr ParameterValue kDeviceMode = listed(Ch::kDeviceMode, "master or slave");
constexpr ParameterValue kOutput = listed(Ch::kOutput, "analog or digital");
constexpr ParameterValue kOperatingMode = listed(Ch::kOperatingMode, "conference or discussion");
constexpr ParameterValue kPriority = listed(Ch::kPriority, "representative or chairman");
constexpr ParameterValue kZeroDbfs = number(Sc::kZeroDbfs, "a level in dBu");
constexpr ParameterValue kOpticalDelay = listedNumber(Sc::kOpticalDelay, "a number of 3.09 ms steps");
constexpr ParameterValue kChannels = listedNumber(Sc::kChannels, "a number of channels");
constexpr ParameterValue kThreshold = number(Sc::kThreshold, "a level in dBu");
constexpr ParameterValue kAttenuation = number(Sc::kAttenuation, kLevelOrOff);
constexpr ParameterValue kStartup = listedNumber(Sc::kStartup, "a program number (0 = the program run last)");

// --- locks -------------------------------------------------------------------

namespace locks {
using namespace LockFlag;
constexpr EntryLocks label{InputLabel, OutputLabel};
constexpr EntryLocks gain{InputGain, OutputGain};
constexpr EntryLocks mute{InputMute, OutputMute};
constexpr EntryLocks polarity{InputPolarity, OutputPolarity};
constexpr EntryLocks delay{InputDelay, OutputDelay};
constexpr EntryLocks link{InputLink, OutputLink};
constexpr EntryLocks noiseGate{NoiseGate, -1};
constexpr EntryLocks feedback{InputFeedback, -1};
constexpr EntryLocks eq{InputEq, OutputEq};
constexpr EntryLocks crossover{InputCrossover, OutputCrossover};
constexpr EntryLocks dynamics{InputDynamics, OutputDynamics};
constexpr EntryLocks matrix{Matrix, -1};
constexpr EntryLocks inputMaster{InputMainVolume, -1};
constexpr EntryLocks outputMaster{-1, OutputMainVolume};
constexpr EntryLocks mainFeedback{MainFeedback, -1};
constexpr EntryLocks settings{Settings, -1};
}  // namespace locks

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
const std::array kEntries{
    CatalogEntry{"<ch>.name", Sd::Both, S::Name, locks::label, kName, nullptr, false, Limit::None, {}, "text of up to 8 bytes"},
    CatalogEntry{"<ch>.gain", Sd::Both, S::Channel, locks::gain, kGain, &fixed<C::Gain>},
    CatalogEntry{"<ch>.mute", Sd::Both, S::Channel, locks::mute, kMute, &fixed<C::Mute>, false},
    CatalogEntry{"<ch>.polarity", Sd::Both, S::Channel, locks::polarity, kPolarity, &fixed<C::Polarity>},
    CatalogEntry{"<ch>.delay", Sd::Both, S::Channel, locks::delay, kDelay, &fixed<C::Delay>, true, Limit::None, {}, "2.5ms|3.2m|10ft"},
    CatalogEntry{"<ch>.link", Sd::Both, S::Group, locks::link, kLinkGroup, &fixed<C::LinkGroup>, false},
    CatalogEntry{"<ch>.gate", Sd::Input, S::Channel, locks::noiseGate, kNoiseGate, &fixed<In::NoiseGate>},
    CatalogEntry{"<ch>.feedback", Sd::Input, S::Channel, locks::feedback, kFeedback, &fixed<In::Feedback>},
    CatalogEntry{"<ch>.eq.<band>.freq", Sd::Both, S::Channel, locks::eq, kFrequency, &band<&B::FQCY>, true, Limit::ShelfFrequency, {}, "1.2k|1200Hz"},
    CatalogEntry{"<ch>.eq.<band>.gain", Sd::Both, S::Channel, locks::eq, kEqGain, &band<&B::Gain>},
    CatalogEntry{"<ch>.eq.<band>.bw", Sd::Both, S::Channel, locks::eq, kOctaves, &band<&B::Q>},
    CatalogEntry{"<ch>.eq.<band>.q", Sd::Both, S::Channel, locks::eq, kQ, &band<&B::Q>},
    CatalogEntry{"<ch>.eq.<band>.type", Sd::Both, S::Channel, locks::eq, kBandKind, &band<&B::Type>, true, Limit::BandKind},
    CatalogEntry{"<ch>.eq.<band>.slope", Sd::Both, S::Channel, locks::eq, kShelfSlope, &band<&B::Slope>},
    CatalogEntry{"<ch>.xover.lo.freq", Sd::Both, S::Channel, locks::crossover, kFrequency, &corner<&X::XFQCY_Lo>, true, Limit::Corner, {}, "80Hz (20 = off)"},
    CatalogEntry{"<ch>.xover.lo.slope", Sd::Both, S::Channel, locks::crossover, kCrossoverSlope, &corner<&X::XSLope_Lo>},
    CatalogEntry{"<ch>.xover.lo.family", Sd::Output, S::Channel, locks::crossover, kFamily, &corner<&X::XMode_Lo>},
    CatalogEntry{"<ch>.xover.hi.freq", Sd::Both, S::Channel, locks::crossover, kFrequency, &corner<&X::XFQCY_Hi>, true, Limit::Corner, {}, "12k (20000 = off)"},
    CatalogEntry{"<ch>.xover.hi.slope", Sd::Both, S::Channel, locks::crossover, kCrossoverSlope, &corner<&X::XSLope_Hi>},
    CatalogEntry{"<ch>.xover.hi.family", Sd::Output, S::Channel, locks::crossover, kFamily, &corner<&X::XMode_Hi>},
    CatalogEntry{"<ch>.agc.target", Sd::Input, S::Channel, locks::dynamics, kAgcLevel, &fixed<In::AGC_TargetLevel>},
    CatalogEntry{"<ch>.agc.threshold", Sd::Input, S::Channel, locks::dynamics, kAgcLevel, &fixed<In::AGC_Threshold>},
    CatalogEntry{"<ch>.agc.ratio", Sd::Input, S::Channel, locks::dynamics, kAgcRatio, &fixed<In::AGC_Ratio>},
    CatalogEntry{"<ch>.agc.response", Sd::Input, S::Channel, locks::dynamics, kAttack, &fixed<In::AGC_ResponseTime>},
    CatalogEntry{"<ch>.agc.release", Sd::Input, S::Channel, locks::dynamics, kRelease, &fixed<In::AGC_ReleaseTime>},
    CatalogEntry{"<ch>.comp.level", Sd::Input, S::Channel, locks::dynamics, kInputCompressorLevel, &fixed<In::Comp_Level>},
    CatalogEntry{"<ch>.comp.ratio", Sd::Input, S::Channel, locks::dynamics, kCompressorRatio, &fixed<In::Comp_ratio>},
    CatalogEntry{"<ch>.comp.attack", Sd::Input, S::Channel, locks::dynamics, kAttack, &fixed<In::Comp_A>},
    CatalogEntry{"<ch>.comp.release", Sd::Input, S::Channel, locks::dynamics, kRelease, &fixed<In::Comp_R>},
    CatalogEntry{"<ch>.comp.level", Sd::Output, S::Channel, locks::dynamics, kOutputLevel, &fixed<Out::Comp_Level>},
    CatalogEntry{"<ch>.comp.ratio", Sd::Output, S::Channel, locks::dynamics, kCompressorRatio, &fixed<Out::Comp_ratio>},
    CatalogEntry{"<ch>.comp.attack", Sd::Output, S::Channel, locks::dynamics, kAttack, &fixed<Out::Comp_A>},
    CatalogEntry{"<ch>.comp.release", Sd::Output, S::Channel, locks::dynamics, kRelease, &fixed<Out::Comp_R>},
    CatalogEntry{"<ch>.lim.threshold", Sd::Output, S::Channel, locks::dynamics, kOutputLevel, &fixed<Out::Lim_Threshold>},
    CatalogEntry{"<ch>.lim.attack", Sd::Output, S::Channel, locks::dynamics, kAttack, &fixed<Out::Lim_Attack>},
    CatalogEntry{"<ch>.lim.release", Sd::Output, S::Channel, locks::dynamics, kRelease, &fixed<Out::Lim_Release>},
    CatalogEntry{"matrix.<A-H>.<1-8>", Sd::Input, S::Matrix, locks::matrix, kMix, nullptr, false, Limit::None, {}, "-6.0dB|OFF|on|off"},
    CatalogEntry{"master.in.level", Sd::Input, S::MasterLevel, locks::inputMaster, kMasterLevel, &fixed<C::Allvolume>},
    CatalogEntry{"master.out.level", Sd::Output, S::MasterLevel, locks::outputMaster, kMasterLevel, &fixed<C::Allvolume>},
    CatalogEntry{"master.in.mute", Sd::Input, S::MasterMute, locks::inputMaster, kSwitch},
    CatalogEntry{"master.out.mute", Sd::Output, S::MasterMute, locks::outputMaster, kSwitch},
    CatalogEntry{"master.antifeedback", Sd::Input, S::AntiFeedback, locks::mainFeedback, kSwitch, &fixed<In::All_Feedback>},
    CatalogEntry{"setup.mode", Sd::Input, S::Setup, locks::settings, kDeviceMode, nullptr, false, Limit::None,
            choice<DeviceMode, &SetupSettings::deviceMode, &SetupSettings::setDeviceMode>()},
    CatalogEntry{"setup.output", Sd::Input, S::Setup, locks::settings, kOutput, nullptr, false, Limit::None,
            choice<OutputSelection, &SetupSettings::output, &SetupSettings::setOutput>(), {},
            "a slave device takes digital output only"},
    CatalogEntry{"setup.operating", Sd::Input, S::Setup, locks::settings, kOperatingMode, nullptr, false, Limit::None,
            choice<OperatingMode, &SetupSettings::operatingMode, &SetupSettings::setOperatingMode>()},
    CatalogEntry{"setup.zerodbfs", Sd::Input, S::Setup, locks::settings, kZeroDbfs, nullptr, false, Limit::None,
            number<&SetupSettings::zeroDbfsDbu, &SetupSettings::setZeroDbfsDbu>()},
    CatalogEntry{"setup.delay", Sd::Input, S::Setup, locks::settings, kOpticalDelay, nullptr, false, Limit::None,
            number<&SetupSettings::opticalDelay, &SetupSettings::setOpticalDelay>(), "0..11 (x 3.09 ms)"},
    CatalogEntry{"setup.channels", Sd::Input, S::Setup, locks::settings, kChannels, nullptr, false, Limit::None,
            number<&SetupSettings::simultaneousChannels, &SetupSettings::setSimultaneousChannels>()},
    CatalogEntry{"setup.threshold.<A-H>", Sd::Input, S::Setup, locks::settings, kThreshold, nullptr, false, Limit::None, kThresholdAccess},
    CatalogEntry{"setup.level.<A-H>", Sd::Input, S::Setup, locks::settings, kPriority, nullptr, false, Limit::None, kPriorityAccess},
    CatalogEntry{"setup.attenuation.conference.representative", Sd::Input, S::Setup, locks::settings, kAttenuation, nullptr, false,
            Limit::None, attenuation<Attenuation::ConferenceRepresentative>()},
    CatalogEntry{"setup.attenuation.conference.cascade", Sd::Input, S::Setup, locks::settings, kAttenuation, nullptr, false,
            Limit::None, attenuation<Attenuation::ConferenceCascade>()},
    CatalogEntry{"setup.attenuation.discussion.representative", Sd::Input, S::Setup, locks::settings, kAttenuation, nullptr, false,
            Limit::None, attenuation<Attenuation::DiscussionRepresentative>()},
    CatalogEntry{"setup.attenuation.discussion.cascade", Sd::Input, S::Setup, locks::settings, kAttenuation, nullptr, false,
            Limit::None, attenuation<Attenuation::DiscussionCascade>()},
    CatalogEntry{"setup.startup", Sd::Input, S::Startup, locks::settings, kStartup, nullptr, false, Limit::None, {}, "0..30 (0 = the program run last)"},
};
// clang-format on

// What each entry is called in a list for the user, in both languages. "%1"
// stands for the first placeholder ("Input A", "Output 3" for "<ch>", the
// letter or number for the others), "%2" for the second.
// clang-format off
constexpr std::array<std::pair<std::string_view, BiText>, 51> kLabels{{
    {"<ch>.name", {"%1 name", "%1 通道名"}},
    {"<ch>.gain", {"%1 gain", "%1 增益"}},
    {"<ch>.mute", {"%1 mute", "%1 静音"}},
    {"<ch>.polarity", {"%1 polarity", "%1 相位"}},
    {"<ch>.delay", {"%1 delay", "%1 延时"}},
    {"<ch>.link", {"%1 link group", "%1 联调组"}},
    {"<ch>.gate", {"%1 noise gate", "%1 噪声门"}},
    {"<ch>.feedback", {"%1 anti-feedback", "%1 防啸叫"}},
    {"<ch>.eq.<band>.freq", {"%1 EQ band %2 frequency", "%1 均衡%2 频率"}},
    {"<ch>.eq.<band>.gain", {"%1 EQ band %2 gain", "%1 均衡%2 增益"}},
    {"<ch>.eq.<band>.bw", {"%1 EQ band %2 bandwidth", "%1 均衡%2 带宽"}},
    {"<ch>.eq.<band>.q", {"%1 EQ band %2 Q", "%1 均衡%2 Q值"}},
    {"<ch>.eq.<band>.type", {"%1 EQ band %2 type", "%1 均衡%2 类型"}},
    {"<ch>.eq.<band>.slope", {"%1 EQ band %2 shelf slope", "%1 均衡%2 坡度"}},
    {"<ch>.xover.lo.freq", {"%1 high-pass frequency", "%1 高通频率"}},
    {"<ch>.xover.lo.slope", {"%1 high-pass slope", "%1 高通斜率"}},
    {"<ch>.xover.lo.family", {"%1 high-pass type", "%1 高通类型"}},
    {"<ch>.xover.hi.freq", {"%1 low-pass frequency", "%1 低通频率"}},
    {"<ch>.xover.hi.slope", {"%1 low-pass slope", "%1 低通斜率"}},
    {"<ch>.xover.hi.family", {"%1 low-pass type", "%1 低通类型"}},
    {"<ch>.agc.target", {"%1 AGC target level", "%1 自动增益 目标电平"}},
    {"<ch>.agc.threshold", {"%1 AGC threshold", "%1 自动增益 阈值"}},
    {"<ch>.agc.ratio", {"%1 AGC ratio", "%1 自动增益 比率"}},
    {"<ch>.agc.response", {"%1 AGC response time", "%1 自动增益 响应时间"}},
    {"<ch>.agc.release", {"%1 AGC release time", "%1 自动增益 释放时间"}},
    {"<ch>.comp.level", {"%1 compressor level", "%1 压缩 电平"}},
    {"<ch>.comp.ratio", {"%1 compressor ratio", "%1 压缩比"}},
    {"<ch>.comp.attack", {"%1 compressor attack", "%1 压缩 启动时间"}},
    {"<ch>.comp.release", {"%1 compressor release", "%1 压缩 释放时间"}},
    {"<ch>.lim.threshold", {"%1 limiter threshold", "%1 压限电平"}},
    {"<ch>.lim.attack", {"%1 limiter attack", "%1 压限 启动时间"}},
    {"<ch>.lim.release", {"%1 limiter release", "%1 压限 释放时间"}},
    {"matrix.<A-H>.<1-8>", {"Matrix input %1 to output %2", "矩阵 输入%1→输出%2"}},
    {"master.in.level", {"Input master level", "输入总音量"}},
    {"master.out.level", {"Output master level", "输出总音量"}},
    {"master.in.mute", {"Input master mute", "输入总静音"}},
    {"master.out.mute", {"Output master mute", "输出总静音"}},
    {"master.antifeedback", {"Master anti-feedback", "总防啸叫"}},
    {"setup.mode", {"Settings: device mode", "设置：设备模式"}},
    {"setup.output", {"Settings: output", "设置：输出"}},
    {"setup.operating", {"Settings: operating mode", "设置：工作模式"}},
    {"setup.zerodbfs", {"Settings: 0 dBFS level", "设置：0 dBFS 电平"}},
    {"setup.delay", {"Settings: optical delay", "设置：光纤延时"}},
    {"setup.channels", {"Settings: simultaneous channels", "设置：同时发言通道数"}},
    {"setup.threshold.<A-H>", {"Settings: input %1 threshold", "设置：输入%1 阈值"}},
    {"setup.level.<A-H>", {"Settings: input %1 priority", "设置：输入%1 优先级"}},
    {"setup.attenuation.conference.representative", {"Settings: conference representative attenuation", "设置：会议模式 代表衰减"}},
    {"setup.attenuation.conference.cascade", {"Settings: conference cascade attenuation", "设置：会议模式 级联衰减"}},
    {"setup.attenuation.discussion.representative", {"Settings: discussion representative attenuation", "设置：讨论模式 代表衰减"}},
    {"setup.attenuation.discussion.cascade", {"Settings: discussion cascade attenuation", "设置：讨论模式 级联衰减"}},
    {"setup.startup", {"Start-up program", "开机程序"}},
}};
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

std::vector<CatalogFamily> expandAll() {
  std::vector<CatalogFamily> families;
  for (const CatalogEntry& entry : kEntries) {
    for (Side side : {Side::Input, Side::Output}) {
      if (!entry.covers(side)) continue;
      families.push_back({expanded(entry.pattern, side), side, &entry});
    }
  }
  return families;
}

// The words of a dotted path.
std::vector<std::string_view> words(std::string_view path) {
  std::vector<std::string_view> list;
  for (std::size_t start = 0;;) {
    const std::size_t dot = path.find('.', start);
    list.push_back(path.substr(start, dot - start));
    if (dot == std::string_view::npos) return list;
    start = dot + 1;
  }
}

// Whether `function`'s words start `family`'s, a placeholder standing for
// any word.
bool starts(const CatalogFamily& family, const std::vector<std::string_view>& function) {
  const std::vector<std::string_view> pattern = words(family.pattern);
  if (function.size() > pattern.size()) return false;
  for (std::size_t i = 0; i < function.size(); ++i)
    if (!pattern[i].starts_with('<') && pattern[i] != function[i]) return false;
  return true;
}

}  // namespace

std::span<const CatalogEntry> ParameterCatalog::entries() {
  return kEntries;
}

std::span<const CatalogFamily> ParameterCatalog::families() {
  static const std::vector<CatalogFamily> families = expandAll();
  return families;
}

const CatalogEntry* ParameterCatalog::entry(std::string_view pattern, Side side) {
  for (const CatalogEntry& entry : kEntries)
    if (entry.pattern == pattern && entry.covers(side)) return &entry;
  return nullptr;
}

std::optional<int> ParameterCatalog::lockOf(std::string_view function) {
  const std::vector<std::string_view> wanted = words(function);
  for (const CatalogFamily& family : families()) {
    const int lock = family.entry->lock(family.side);
    if (lock >= 0 && starts(family, wanted)) return lock;
  }
  return std::nullopt;
}

BiText ParameterCatalog::label(const CatalogEntry& entry) {
  for (const auto& [pattern, label] : kLabels)
    if (pattern == entry.pattern) return label;
  return BiText::same(entry.pattern);
}

const ParameterValue& ParameterCatalog::switchValue() {
  return kSwitch;
}

}  // namespace orvane
