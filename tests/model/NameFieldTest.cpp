#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/NameField.h"

namespace orvane::NameField {
namespace {

using Bytes = std::vector<std::uint8_t>;

// GBK codes of the characters used below.
constexpr std::uint8_t kHui[] = {0xBB, 0xE1};  // 会
constexpr std::uint8_t kYi[] = {0xD2, 0xE9};   // 议
constexpr std::uint8_t kShi[] = {0xCA, 0xD2};  // 室
const std::string kMeetingRoom = "会议室";
const std::string kReplacement = "\xEF\xBF\xBD";

TEST(NameField, ReadsUpToTheFirstZeroByte) {
  EXPECT_EQ(FieldToText(Bytes{'A', 'B', 0, 0, 0, 0, 0, 0}), "AB");
  EXPECT_EQ(FieldToText(Bytes{'A', 'B', 0, 'C', 'D', 0, 0, 0}), "AB");
  EXPECT_EQ(FieldToText(Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}), "ABCDEFGH");
  EXPECT_EQ(FieldToText(Bytes(8, 0)), "");
}

TEST(NameField, DropsLeadingAndTrailingWhiteSpace) {
  EXPECT_EQ(FieldToText(Bytes{' ', ' ', 'A', ' ', 'B', '\t', ' ', 0}), "A B");
  EXPECT_EQ(FieldToText(Bytes{' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '}), "");
}

TEST(NameField, ReadsNoMoreThanTheSizeGivenOrTheBytesHeld) {
  const Bytes programName{'P', 'r', 'o', 'g', 'r', 'a', 'm', ' ', 'O', 'n', 'e', 0, 0, 0, 0, 0};
  EXPECT_EQ(FieldToText(programName, 16), "Program One");
  EXPECT_EQ(FieldToText(programName, 4), "Prog");
  const Bytes shortBuffer{'A', 'B', 'C'};
  EXPECT_EQ(FieldToText(shortBuffer, 16), "ABC");
}

TEST(NameField, DecodesChineseNames) {
  const Bytes field{kHui[0], kHui[1], kYi[0], kYi[1], kShi[0], kShi[1], 0, 0};
  EXPECT_EQ(FieldToText(field), kMeetingRoom);
  // Eight bytes, no terminator, ending in a whole character.
  EXPECT_EQ(FieldToText(Bytes{'A', 'B', kHui[0], kHui[1], kYi[0], kYi[1], kShi[0], kShi[1]}),
            "AB" + kMeetingRoom);
  EXPECT_EQ(FieldToText(Bytes{0x80, 0}), "€");  // code page 936 puts the euro sign at 0x80
}

TEST(NameField, UndecodableBytesCostOneReplacementAndTheRestStillReads) {
  EXPECT_EQ(FieldToText(Bytes{'A', 0xFF, 'B', 0}), "A" + kReplacement + "B");
  // A lead byte cut off by the end of the field.
  EXPECT_EQ(FieldToText(Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', kHui[0]}), "ABCDEFG" + kReplacement);
  // A lead byte followed by a byte that cannot be a trail byte.
  EXPECT_EQ(FieldToText(Bytes{0x81, '0', '1', 0}), kReplacement + "01");
  // An unassigned pair with an ASCII second byte: the letter is kept.
  EXPECT_EQ(FieldToText(Bytes{0xA2, 'A', 'B', 0}), kReplacement + "AB");
  // An unassigned pair with a high second byte counts as one character.
  EXPECT_EQ(FieldToText(Bytes{0xD7, 0xFA, 'A', 0}), kReplacement + "A");
}

TEST(NameField, WritesTextZeroPadded) {
  EXPECT_EQ(TextToField("AB", 8), (Bytes{'A', 'B', 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(TextToField(" A", 8), (Bytes{' ', 'A', 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(TextToField("ABCDEFGHIJ", 8), (Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}));
  EXPECT_EQ(TextToField(kMeetingRoom, 8), (Bytes{kHui[0], kHui[1], kYi[0], kYi[1], kShi[0], kShi[1], 0, 0}));
  EXPECT_EQ(TextToField(std::string_view("AB\0CD", 5), 8), (Bytes{'A', 'B', 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(TextToField("AB", 0), Bytes{});
}

TEST(NameField, WritingOverAFieldClearsWhatWasThere) {
  std::array<std::uint8_t, 8> field{};
  field.fill(0xEE);
  TextToField("A", field);
  EXPECT_EQ(field, (std::array<std::uint8_t, 8>{'A', 0, 0, 0, 0, 0, 0, 0}));
}

TEST(NameField, NeverCutsADoubleByteCharacterInHalf) {
  // 'A' and three characters take 7 bytes; the fourth would need 9.
  EXPECT_EQ(TextToField("A" + kMeetingRoom + "会", 8),
            (Bytes{'A', kHui[0], kHui[1], kYi[0], kYi[1], kShi[0], kShi[1], 0}));
  EXPECT_EQ(TextToField("ABCDEFG会", 8), (Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 0}));
  // Nine characters into a 16-byte program name: eight fit exactly.
  const Bytes programName = TextToField(kMeetingRoom + kMeetingRoom + kMeetingRoom, 16);
  ASSERT_EQ(programName.size(), 16u);
  EXPECT_EQ(programName[14], kYi[0]);  // the eighth character, 议, whole
  EXPECT_EQ(programName[15], kYi[1]);
  EXPECT_EQ(FieldToText(programName), kMeetingRoom + kMeetingRoom + "会议");
}

TEST(NameField, UnencodableOrMalformedTextBecomesQuestionMarks) {
  EXPECT_EQ(TextToField("A\xF0\x9F\x98\x80"
                        "B",
                        8),
            (Bytes{'A', '?', 'B', 0, 0, 0, 0, 0}));                              // emoji
  EXPECT_EQ(TextToField("\xEA\xB0\x80", 8), (Bytes{'?', 0, 0, 0, 0, 0, 0, 0}));  // Hangul 가
  EXPECT_EQ(TextToField("A\xFF"
                        "B",
                        8),
            (Bytes{'A', '?', 'B', 0, 0, 0, 0, 0}));
  EXPECT_EQ(TextToField("\xC0\xAF"
                        "B",
                        8),
            (Bytes{'?', 'B', 0, 0, 0, 0, 0, 0}));                                 // overlong '/'
  EXPECT_EQ(TextToField("\xED\xA0\x80", 8), (Bytes{'?', 0, 0, 0, 0, 0, 0, 0}));   // surrogate
  EXPECT_EQ(TextToField("\xEE\x80\x80", 8), (Bytes{'?', 0, 0, 0, 0, 0, 0, 0}));   // private use
  EXPECT_EQ(TextToField("A\xE4\xBC", 8), (Bytes{'A', '?', '?', 0, 0, 0, 0, 0}));  // cut-off sequence
}

TEST(NameField, NamesRoundTrip) {
  for (const std::string name : {"Mic 1", "Podium", "ABCDEFGH", "会议室", "会议室A", "A会议室"}) {
    EXPECT_EQ(FieldToText(TextToField(name, 8)), name);
  }
  EXPECT_EQ(FieldToText(TextToField("Main Hall 会议室", 16)), "Main Hall 会议室");
}

TEST(NameField, CountsTheFieldBytesATextTakes) {
  EXPECT_EQ(FieldBytes(""), 0u);
  EXPECT_EQ(FieldBytes("ABCDEFGH"), 8u);
  EXPECT_EQ(FieldBytes("会议室主"), 8u);
  EXPECT_EQ(FieldBytes("会议室A"), 7u);
  EXPECT_EQ(FieldBytes("会议室主席"), 10u);
  EXPECT_EQ(FieldBytes("\xF0\x9F\x98\x80"), 1u);  // written as '?'
}

}  // namespace
}  // namespace orvane::NameField
