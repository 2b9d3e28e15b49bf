#include <gtest/gtest.h>

#include <algorithm>

#include "dsp/ChannelFilters.h"
#include "model/Language.h"
#include "model/ParameterImage.h"
#include "report/ExportName.h"
#include "report/ReportPagination.h"
#include "report/ReportTable.h"

namespace orvane {
namespace {

constexpr int kInputA = 1;
constexpr int kOutput1 = 9;

class ReportTableTest : public ::testing::Test {
 protected:
  void TearDown() override { Language::setFlag(0); }

  ReportTable table() { return ReportTable::build(image, filters); }

  ParameterImage image;
  ChannelFilters filters{image};
};

// Each row's text rule at its ends and at its "off" code.
TEST_F(ReportTableTest, EveryRowFollowsItsTextRule) {
  Language::setFlag(1);
  struct Case {
    int row;
    Side side;
    Field field;
    int code;
    std::string text;
  };
  using namespace InputField;
  const std::vector<Case> cases{
      {1, Side::Input, Mute, 1, "ON"},
      {1, Side::Input, Mute, 0, "Mute"},
      {2, Side::Input, Gain, 0, "-30.0dB"},
      {2, Side::Output, Gain, 420, "12.0dB"},
      {3, Side::Input, NoiseGate, 0, "OFF"},
      {3, Side::Input, NoiseGate, 1, "-119dBu"},
      {4, Side::Input, Polarity, 1, "+"},
      {4, Side::Output, Polarity, 0, "-"},
      {5, Side::Input, Delay, 24, "0.500ms"},
      {5, Side::Input, Delay, 480, "10ms"},
      {6, Side::Output, Allvolume, 0, "OFF"},
      {6, Side::Input, Allvolume, 720, "12.0dB"},
      {7, Side::Input, All_Feedback, 1, "ON"},
      {8, Side::Input, Feedback, 0, "OFF"},
      {8, Side::Input, Feedback, 11, "4 Level"},
      {8, Side::Input, Feedback, 6, ""},
      {9, Side::Input, mix(0), 0, "OFF"},
      {16, Side::Input, mix(7), 120, "0dB"},
      {17, Side::Input, AGC_Threshold, 0, "OFF"},
      {18, Side::Input, AGC_TargetLevel, 1000, "20.0dB"},
      {19, Side::Input, AGC_ResponseTime, 6, "0.9ms"},
      {19, Side::Input, AGC_ResponseTime, 7, "1ms"},
      {20, Side::Input, AGC_ReleaseTime, 0, "50ms"},
      {21, Side::Input, AGC_Ratio, 16, "1:2.5"},
      {22, Side::Input, Comp_Level, 500, "OFF"},
      {22, Side::Output, OutputField::Comp_Level, 0, "-30.0dB"},
      {25, Side::Output, OutputField::Comp_ratio, 16, "2.5:1"},
      {26, Side::Output, OutputField::Lim_Threshold, 500, "OFF"},
      {27, Side::Output, OutputField::Lim_Attack, 206, "200ms"},
      {28, Side::Output, OutputField::Lim_Release, 4950, "5000ms"},
      {29, Side::Output, crossoverFields(Side::Output).XMode_Lo, 1, "Bessel"},
      {30, Side::Input, crossoverFields(Side::Input).XFQCY_Lo, 120, "120Hz"},
      {34, Side::Output, crossoverFields(Side::Output).XSLope_Hi, 6, "48dB/oct"},
      {36, Side::Input, bandFields(Side::Input, 0).Gain, 460, "6.0dB"},
      {37, Side::Output, bandFields(Side::Output, 0).FQCY, 250, "250Hz"},
      {38, Side::Input, bandFields(Side::Input, 0).Q, 25, "0.30oct"},
  };
  for (const Case& c : cases) {
    image.setField(c.side, 0, c.field, c.code);
    filters.channel(c.side, 0).Rebind();
    EXPECT_EQ(table().cell(c.row, c.side == Side::Input ? kInputA : kOutput1), c.text) << "row " << c.row;
  }
  // A shelf shows its slope where a peaking band shows its bandwidth.
  image.setField(Side::Output, 0, bandFields(Side::Output, 8).Type, 2);
  filters.output(0).Rebind();
  EXPECT_EQ(table().cell(67, kOutput1), "Hi_Shf");
  EXPECT_EQ(table().cell(70, kOutput1), "6dB/oct");
}

// Inputs leave the limiter and filter-family rows and band 9 empty; outputs
// the gate, feedback, matrix and AGC rows.
TEST_F(ReportTableTest, EachSideLeavesItsOwnRowsEmpty) {
  const ReportTable t = table();
  for (int row = 0; row < ReportTable::kRows; ++row) {
    const bool inputEmpty = row == 26 || row == 27 || row == 28 || row == 29 || row == 32 || row >= 67;
    const bool outputEmpty = row == 3 || (row >= 7 && row <= 21);
    for (int column = 1; column < ReportTable::kColumns; ++column) {
      const bool input = column <= kChannels;
      const bool empty = t.cell(row, column).empty();
      EXPECT_EQ(empty, input ? inputEmpty : outputEmpty) << "row " << row << " column " << column;
    }
  }
}

TEST_F(ReportTableTest, LockedFunctionsShowTheLockWord) {
  image.modify([](ImageData& d) {
    d.locks.setLocked(LockFlag::InputGain, true);
    d.locks.setLocked(LockFlag::Matrix, true);
    d.locks.setLocked(LockFlag::OutputEq, true);
  });
  ReportTable t = table();
  for (int column = 1; column < ReportTable::kColumns; ++column) {
    const bool input = column <= kChannels;
    EXPECT_EQ(t.cell(2, column) == "锁定", input) << column;
    EXPECT_EQ(t.cell(12, column) == "锁定", input) << column;
    EXPECT_EQ(t.cell(40, column) == "锁定", !input) << column;
    EXPECT_NE(t.cell(1, column), "锁定");
  }
  Language::setFlag(1);
  EXPECT_EQ(table().cell(2, kInputA), "Lock");
}

// Every function lock on its own hides exactly its rows, on its own side
// (columns 1-8 the inputs, 9-16 the outputs), and nothing else.
TEST_F(ReportTableTest, EachLockHidesExactlyItsRows) {
  struct Case {
    int flag;
    bool input;
    std::vector<std::pair<int, int>> rows;  // first and last row of each span
  };
  const std::vector<Case> cases{
      {0, true, {{0, 0}}},     {1, true, {{1, 1}}},     {3, true, {{2, 2}}},
      {8, true, {{3, 3}}},     {4, true, {{4, 4}}},     {2, true, {{5, 5}}},
      {5, true, {{6, 6}}},     {6, true, {{7, 7}}},     {9, true, {{8, 8}}},
      {10, true, {{9, 16}}},   {11, true, {{17, 25}}},  {13, true, {{30, 31}, {33, 34}}},
      {12, true, {{35, 66}}},  {16, false, {{0, 0}}},   {17, false, {{1, 1}}},
      {19, false, {{2, 2}}},   {20, false, {{4, 4}}},   {18, false, {{5, 5}}},
      {21, false, {{6, 6}}},   {22, false, {{22, 28}}}, {24, false, {{29, 34}}},
      {23, false, {{35, 70}}},
  };
  for (const Case& c : cases) {
    image.modify([&](ImageData& d) {
      d.locks.clear();
      d.locks.setLocked(c.flag, true);
    });
    const ReportTable t = table();
    for (int row = 0; row < ReportTable::kRows; ++row) {
      const bool inRows = std::any_of(c.rows.begin(), c.rows.end(), [row](const auto& span) {
        return row >= span.first && row <= span.second;
      });
      for (int column = 1; column < ReportTable::kColumns; ++column) {
        const bool inputColumn = column < kOutput1;
        EXPECT_EQ(t.cell(row, column) == "锁定", inRows && inputColumn == c.input)
            << "flag " << c.flag << " row " << row << " column " << column;
      }
    }
  }
}

TEST_F(ReportTableTest, RowNamesAndCaptionsInBothLanguages) {
  const std::vector<std::pair<int, std::pair<std::string, std::string>>> names{
      {0, {"Name", "通道名"}},         {9, {"Out1_MG", "Out1_分频"}},
      {16, {"Out8_MG", "Out8_分频"}},  {17, {"Threshold", "自动增益 阈值"}},
      {26, {"Threshold", "压限电平"}}, {35, {"EQ1 Type", "均衡1 类型"}},
      {70, {"EQ9 Q", "均衡9 斜率"}},
  };
  for (int language : {0, 1}) {
    Language::setFlag(language);
    const ReportTable t = table();
    for (const auto& [row, name] : names) EXPECT_EQ(t.cell(row, 0), language ? name.first : name.second);
  }
  EXPECT_EQ(ReportTable::caption(0), "Type");
  EXPECT_EQ(ReportTable::caption(8), "CH_H");
  EXPECT_EQ(ReportTable::caption(9), "CH_1");
  EXPECT_EQ(ReportTable::caption(16), "CH_8");
  Language::setFlag(0);
  EXPECT_EQ(table().cell(4, kInputA), "正相");
}

TEST(ReportPagination, PagesAndProposedName) {
  EXPECT_EQ(ReportPagination::pageCount(71, 30), 3);
  EXPECT_EQ(ReportPagination::pageCount(60, 30), 2);
  EXPECT_EQ(ReportPagination::pageCount(0, 30), 1);
  EXPECT_EQ(ReportPagination::rowsPerPage(620, 19), 30);
  EXPECT_EQ(ReportPagination::rowsPerPage(10, 19), 1);
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 3;
  t.tm_sec = 9;
  EXPECT_EQ(ExportName::propose(t, ".xlsx"), "20260105070309.xlsx");
}

}  // namespace
}  // namespace orvane
