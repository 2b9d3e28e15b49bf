#include <gtest/gtest.h>

#include "control/ParameterPath.h"
#include "link/LinkGroups.h"
#include "support/RecordingNotifier.h"

namespace orvane::control {
namespace {

using Strings = std::vector<std::string>;

class ParameterPathTest : public ::testing::Test {
 protected:
  static ParameterPath path(std::string_view text) {
    auto parsed = ParameterPath::parse(text);
    if (auto* message = std::get_if<std::string>(&parsed)) ADD_FAILURE() << *message;
    return std::get<ParameterPath>(std::move(parsed));
  }
  SetOutcome set(std::string_view text, std::string_view value, bool follow = true) {
    return path(text).set(image, &groups, value, follow);
  }
  std::string get(std::string_view text) { return path(text).text(image); }
  int setupWord(int offset) {
    return image.read([&](const ImageData& d) { return d.system.setupWord(offset); });
  }

  ParameterImage image;
  RecordingNotifier notifier;
  Command command{image, notifier};
  LinkGroups groups{image, command};
};

// Each row sets a value and reads the editor's text back: units, snapping,
// the ends of the range, "OFF" and the list entries.
TEST_F(ParameterPathTest, ValuesReadBackAsTheEditorShowsThem) {
  struct Case {
    const char* path;
    const char* value;
    const char* text;
  };
  const Case cases[] = {
      {"in.A.gain", "-6.5dB", "-6.5dB"},
      {"out.8.gain", " -30 db ", "-30.0dB"},
      {"in.A.gain", "+12", "12.0dB"},
      {"out.1.delay", "1000", "1000ms"},
      {"in.B.eq.6.freq", "20k", "20000Hz"},
      {"out.3.mute", "ON", "on"},
      {"out.4.mute", "0", "off"},
      {"in.B.polarity", "inverted", "inverted"},
      {"in.A.delay", "0.5ms", "0.500ms"},
      {"in.A.delay", "3.2m", "9.313ms"},
      {"in.A.delay", "10ft", "8.875ms"},
      {"in.B.eq.4.freq", "1.2k", "1200Hz"},
      {"in.B.eq.5.freq", "1.5kHz", "1500Hz"},
      {"out.1.eq.9.gain", "-4.5dB", "-4.5dB"},
      {"in.A.eq.1.bw", "0.3oct", "0.30oct"},
      {"in.A.eq.3.q", "1.414", "1.414"},
      {"in.A.eq.3.bw", "1", "1.00oct"},
      {"out.2.eq.1.slope", "12", "12dB/oct"},
      {"out.2.eq.1.type", "PK", "peak"},
      {"out.2.xover.lo.slope", "24", "24dB/oct"},
      {"out.2.xover.hi.family", "butterworth", "BTWorth"},
      {"in.C.agc.ratio", "1:2.5", "1:2.5"},
      {"in.C.agc.ratio", "3.2", "1:3.5"},
      {"in.C.comp.ratio", "4:1", "4.0:1"},
      {"in.C.comp.attack", "0.5", "0.5ms"},
      {"out.5.lim.attack", "50ms", "50ms"},
      {"in.C.comp.release", "150ms", "150ms"},
      {"in.D.gate", "-60", "-60dBu"},
      {"in.E.gate", "off", "OFF"},
      {"in.D.feedback", "2", "Level 2"},
      {"in.E.feedback", "off", "OFF"},
      {"out.6.lim.threshold", "OFF", "OFF"},
      {"matrix.A.3", "-6", "-6.0dB"},
      {"matrix.A.3", "off", "OFF"},
      {"matrix.A.3", "on", "-6.0dB"},
      {"matrix.B.2", "-59.5", "-59.5dB"},
      {"master.in.level", "-10", "-10.0dB"},
      {"master.out.level", "OFF", "OFF"},
      {"master.antifeedback", "off", "off"},
      {"in.A.name", "Podium", "Podium"},
      {"out.1.name", "讲台左", "讲台左"},
      {"setup.channels", "9", "9"},
      {"setup.threshold.B", "-50dBu", "-50.0dBu"},
      {"setup.level.C", "Chairman", "chairman"},
      {"setup.attenuation.discussion.cascade", "OFF", "OFF"},
      {"setup.attenuation.conference.cascade", "-20", "-20.0dB"},
      {"setup.delay", "11", "11"},
      {"setup.startup", "5", "5"},
  };
  for (const Case& c : cases) {
    const SetOutcome outcome = set(c.path, c.value);
    EXPECT_EQ(outcome.error, "") << c.path;
    EXPECT_EQ(get(c.path), c.text) << c.path << " = " << c.value;
  }
}

// A figure outside the field's range is refused with the range, never
// clamped to an end — also one too long for any number type; a long
// fraction is just a number.
TEST_F(ParameterPathTest, FiguresOutsideTheRangeAreRefusedWithTheRange) {
  const std::string huge(400, '9');
  const std::string tiny = "0." + std::string(400, '0') + "1";
  struct Case {
    const char* path;
    std::string value;
    const char* text;  // read back, or the end of the refusal
  };
  const Case cases[] = {
      {"in.A.gain", "+20", "is outside -30.0dB .. 12.0dB"},
      {"out.8.gain", " -40 db ", "is outside -30.0dB .. 12.0dB"},
      {"in.A.gain", "+" + huge + "dB", "is outside -30.0dB .. 12.0dB"},
      {"in.A.gain", tiny + "dB", "0.0dB"},
      {"in.A.gain", "-1." + std::string(400, '0'), "-1.0dB"},
      {"in.B.eq.6.freq", "30000", "is outside 20Hz .. 20000Hz"},
      {"in.B.eq.2.freq", huge + "k", "is outside 20Hz .. 20000Hz"},
      {"in.B.eq.7.freq", "5", "is outside 20Hz .. 20000Hz"},
      {"in.B.eq.3.gain", "-" + huge, "is outside -40.0dB .. 20.0dB"},
      {"in.A.eq.2.bw", "5", "is outside 0.05oct .. 3.00oct"},
      {"in.B.eq.5.q", huge, "is outside 0.404 .. 28.852"},
      {"in.C.comp.ratio", "25:1", "is outside 1:1 .. 20.0:1"},
      {"in.C.agc.ratio", "1:" + huge, "is outside 1:1 .. 1:20.0"},
      {"out.5.lim.release", "10", "is outside 50ms .. 5000ms"},
      {"out.1.lim.attack", huge, "is outside 0.3ms .. 200ms"},
      {"in.D.gate", huge + "dBu", "is outside -119dBu .. 10dBu or OFF"},
      {"out.1.delay", "1001", "is outside 0.000ms .. 1000ms"},
      {"in.A.delay", "-1ms", "is outside 0.000ms .. 1000ms"},
      {"out.2.delay", huge + "m", "is outside 0.000m .. 344m"},
      {"matrix.B.3", "-70", "is outside -59.5dB .. 0.0dB or OFF"},
      {"master.out.level", "-" + huge, "is outside -59.9dB .. 12.0dB or OFF"},
      {"setup.zerodbfs", "30", "is outside 6dBu .. 24dBu"},
      {"in.A.link", huge, "is outside 1..8"},
      {"setup.startup", huge, "is outside 0..30"},
  };
  for (const Case& c : cases) {
    const SetOutcome outcome = set(c.path, c.value);
    const std::string shown = outcome.error.empty() ? get(c.path) : outcome.error;
    EXPECT_TRUE(shown.ends_with(c.text)) << c.path << " = " << c.value.substr(0, 8) << "...: " << shown;
    EXPECT_TRUE(outcome.error.empty() || outcome.changed.empty()) << "a refused value changed " << c.path;
  }
}

TEST_F(ParameterPathTest, BadPathsAndValuesNameTheBadPart) {
  const std::pair<const char*, const char*> paths[] = {
      {"in.Z.gain", "unknown channel 'Z' in 'in.Z.gain'"},
      {"out.9.gain", "unknown channel '9' in 'out.9.gain'"},
      {"out.1.eq.10.gain", "unknown band '10' in 'out.1.eq.10.gain'"},
      {"in.A.eq.9.gain", "unknown band '9' in 'in.A.eq.9.gain'"},
      {"out.1.gate", "unknown parameter 'gate' in 'out.1.gate'"},
      {"in.A.gain.x", "unknown parameter 'x' in 'in.A.gain.x'"},
      {"matrix.A.9", "unknown output '9' in 'matrix.A.9'"},
      {"setup.threshold.I", "unknown input 'I' in 'setup.threshold.I'"},
      {"in.A.eq", "incomplete parameter path 'in.A.eq'"},
      {"volume", "unknown parameter 'volume' in 'volume'"},
      {"", "empty parameter path"},
      // Control characters are written out: a message is always one line.
      {"\n", "unknown parameter '\\n' in '\\n'"},
      {"in.A\r\t.\x01", "unknown channel 'A\\r\\t' in 'in.A\\r\\t.\\x01'"},
  };
  for (const auto& [text, message] : paths) {
    const auto parsed = ParameterPath::parse(text);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << text;
    EXPECT_EQ(std::get<std::string>(parsed), message);
  }

  const char* values[][3] = {
      {"in.A.gain", "loud", "in.A.gain: 'loud' is not a level in dB"},
      {"in.A.gain", "-6dBu", "in.A.gain: '-6dBu' is not a level in dB"},
      {"in.A.eq.1.freq", "1.2kV", "in.A.eq.1.freq: '1.2kV' is not a frequency in Hz"},
      {"in.A.comp.ratio", "3:2", "in.A.comp.ratio: '3:2' is not a ratio such as 4:1"},
      {"in.A.mute", "maybe", "in.A.mute: 'maybe' is not on or off"},
      {"in.A.eq.1.type", "notch", "in.A.eq.1.type: 'notch' is not peak, lowshelf or highshelf"},
      {"in.A.link", "9", "in.A.link: '9' is outside 1..8"},
      {"in.A.name", "Lectern12", "in.A.name: 'Lectern12' takes 9 bytes; a channel name holds 8"},
      {"in.A.name", "讲台左右中", "in.A.name: '讲台左右中' takes 10 bytes; a channel name holds 8"},
      {"setup.delay", "12", "setup.delay: '12' is outside 0..11"},
      {"setup.startup", "2.5", "setup.startup: '2.5' is outside 0..30"},
      {"in.A.gain", "-6\n7", "in.A.gain: '-6\\n7' is not a level in dB"},
      {"in.A.name", "Lectern\x7f\x1b",
       "in.A.name: 'Lectern\\x7F\\x1B' takes 9 bytes; a channel name holds 8"},
  };
  for (const auto& [text, value, message] : values) {
    const SetOutcome outcome = set(text, value);
    EXPECT_EQ(outcome.error, message);
    EXPECT_TRUE(outcome.changed.empty()) << text;
  }
  EXPECT_EQ(get("in.A.name"), "A");  // the default name stays
  EXPECT_EQ(path("in.A.link").set(image, nullptr, "2", true).error,
            "in.A.link: link groups are not available");
}

// Every path reads back what it shows, parses back to its own name, and
// the help lists each family once.
TEST_F(ParameterPathTest, EveryPathTakesTheTextItShows) {
  const std::vector<ParameterPath> all = ParameterPath::all();
  ASSERT_GT(all.size(), 1000u);
  for (const ParameterPath& p : all) {
    ASSERT_EQ(path(p.name()).name(), p.name());
    const std::string shown = p.text(image);
    const SetOutcome outcome = p.set(image, &groups, shown, true);
    EXPECT_EQ(outcome.error, "") << p.name();
    EXPECT_TRUE(outcome.changed.empty()) << p.name() << " = " << shown;
  }
  EXPECT_EQ(path("IN.c.Eq.2.FREQ").name(), "in.C.eq.2.freq");
  const Strings families = ParameterPath::families();
  EXPECT_NE(std::ranges::find(families, "out.<1-8>.eq.<1-9>.freq                       1.2k|1200Hz"),
            families.end());
  EXPECT_NE(std::ranges::find(families, "in.<A-H>.mute                                 on|off"),
            families.end());
}

TEST_F(ParameterPathTest, LinkedChannelsFollowAsOnThePages) {
  groups.join(Side::Input, 0, 1);  // B joins A
  EXPECT_EQ(set("in.A.gain", "-6").changed, (Strings{"in.A.gain", "in.B.gain"}));
  EXPECT_EQ(set("in.A.gain", "-3", false).changed, (Strings{"in.A.gain"}));
  EXPECT_EQ(get("in.B.gain"), "-6.0dB");
  // Mute and name belong to the channel alone.
  EXPECT_EQ(set("in.B.mute", "on").changed, (Strings{"in.B.mute"}));
  EXPECT_EQ(set("in.B.name", "Left").changed, (Strings{"in.B.name"}));
  // A shelf moves each member's frequency to its side of 2000 Hz.
  EXPECT_EQ(set("in.B.eq.8.type", "LS").changed,
            (Strings{"in.A.eq.8.freq", "in.B.eq.8.freq", "in.A.eq.8.type", "in.B.eq.8.type"}));
  EXPECT_EQ(get("in.A.eq.8.freq"), "2000Hz");
  EXPECT_EQ(set("in.A.eq.8.freq", "9000").changed, Strings{});
  EXPECT_EQ(set("in.A.eq.8.freq", "100").changed, (Strings{"in.A.eq.8.freq", "in.B.eq.8.freq"}));

  // Joining takes over the group's parameters.
  set("out.1.comp.ratio", "4");
  const SetOutcome joined = set("out.3.link", "1");
  EXPECT_EQ(joined.changed, (Strings{"out.3.link", "out.3.comp.ratio"}));
  EXPECT_EQ(groups.group(Side::Output, 2), 0);
  EXPECT_EQ(set("out.3.lim.release", "300").changed, (Strings{"out.1.lim.release", "out.3.lim.release"}));
}

TEST_F(ParameterPathTest, NeighbouringFieldsKeepTheirOrder) {
  const char* steps[][3] = {
      {"out.2.xover.lo.freq", "80", "80Hz"},
      {"out.2.xover.hi.freq", "60", "80Hz"},  // the low-pass stops at the high-pass
      {"out.2.xover.lo.freq", "20k", "80Hz"},
      {"in.C.eq.1.type", "highshelf", "highshelf"},
      {"in.C.eq.1.freq", "100", "2000Hz"},
      {"in.C.agc.target", "-20", "-20.0dB"},
      {"in.C.agc.threshold", "-10", "-20.0dB"},  // threshold at or below the target
      {"in.C.comp.level", "-28", "-20.0dB"},     // compressor at or above the target
      {"out.4.comp.level", "-20", "-20.0dB"},
      {"out.4.lim.threshold", "-30", "-20.0dB"},  // limiter at or above the compressor
      {"out.4.lim.threshold", "-10", "-10.0dB"},
      {"out.4.comp.level", "0", "-10.0dB"},
      {"master.in.mute", "on", "on"},
      {"master.in.level", "", "OFF"},
      {"master.in.mute", "off", "off"},
      {"master.in.level", "", "-48.0dB"},  // the remembered level comes back
  };
  for (const auto& [text, value, shown] : steps) {
    if (*value) {
      EXPECT_EQ(set(text, value).error, "") << text;
    }
    EXPECT_EQ(get(text), shown) << text << " = " << value;
  }
}

TEST_F(ParameterPathTest, SetupPathsWriteTheSetupBlock) {
  EXPECT_EQ(set("setup.mode", "slave").changed, (Strings{"setup.mode", "setup.output"}));
  EXPECT_EQ(set("setup.output", "analog").error,
            "setup.output: 'analog' is refused: a slave device takes digital output only");
  EXPECT_EQ(setupWord(SetupOffset::ModeBits) & 0x07, 0x02);
  EXPECT_EQ(set("setup.threshold.B", "-50").delivery, Delivery::SetupBlock);
  EXPECT_EQ(setupWord(SetupOffset::ConferenceThresholds + 2), 700);
  set("setup.channels", "4");
  EXPECT_EQ(setupWord(SetupOffset::ConferenceChannels) & 0xFF, 3);
  set("setup.operating", "discussion");
  set("setup.threshold.B", "-60");
  EXPECT_EQ(setupWord(SetupOffset::DiscussionThresholds + 2), 600);
  EXPECT_EQ(setupWord(SetupOffset::ConferenceThresholds + 2), 700);
  EXPECT_EQ(get("setup.threshold.B"), "-60.0dBu");
  set("setup.attenuation.conference.representative", "-12.5");
  EXPECT_EQ(setupWord(SetupOffset::ConferenceAttenuation), 675);
  const SetOutcome startup = set("setup.startup", "30");
  EXPECT_EQ(startup.delivery, Delivery::StartupProgram);
  EXPECT_EQ(image.read([](const ImageData& d) { return d.system.startupProgram; }), 30);
  EXPECT_EQ(set("in.A.gain", "0").delivery, Delivery::Rows);
}

}  // namespace
}  // namespace orvane::control
