#include <gtest/gtest.h>

#include "link/LinkGroups.h"
#include "link/MasterSection.h"
#include "model/Crosspoints.h"
#include "support/RecordingNotifier.h"

namespace orvane {
namespace {

class ChannelEditingTest : public ::testing::Test {
 protected:
  std::vector<SendData> queued() {
    std::vector<SendData> frames;
    SendData frame;
    while (command.queue().takeNext(frame)) frames.push_back(frame);
    return frames;
  }
  void pretendConnected() {
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::Network; });
  }
  std::size_t changedRows() {
    std::size_t rows = 0;
    for (Side side : {Side::Input, Side::Output})
      while (image.takeNextChangedRow(side)) ++rows;
    return rows;
  }

  ParameterImage image;
  RecordingNotifier notifier;
  Command command{image, notifier};
  LinkGroups groups{image, command};
  MasterSection master{image, command};
};

TEST_F(ChannelEditingTest, CrosspointsRememberTheirLevel) {
  EXPECT_FALSE(Crosspoints::isOn(image, 2, 5));
  EXPECT_TRUE(Crosspoints::toggle(image, 2, 5));
  EXPECT_EQ(image.field(Side::Input, 2, InputField::mix(5)), 120);
  EXPECT_FALSE(Crosspoints::toggle(image, 2, 5));
  EXPECT_EQ(image.field(Side::Input, 2, InputField::mix(5)), 0);
  EXPECT_TRUE(Crosspoints::toggle(image, 2, 5));
  EXPECT_EQ(image.field(Side::Input, 2, InputField::mix(5)), 120);

  Crosspoints::setLevel(image, 0, 0, 60);
  Crosspoints::setOn(image, 0, 0, false);
  Crosspoints::setOn(image, 0, 0, true);
  EXPECT_EQ(image.field(Side::Input, 0, InputField::mix(0)), 60);
  Crosspoints::setLevel(image, 0, 0, 0);  // a level of 0 remembers 0 dB
  Crosspoints::setOn(image, 0, 0, true);
  EXPECT_EQ(image.field(Side::Input, 0, InputField::mix(0)), 120);
  EXPECT_THROW(Crosspoints::setOn(image, 8, 0, true), std::out_of_range);
}

TEST_F(ChannelEditingTest, LinkedInputsDoNotFollowCrosspoints) {
  groups.join(Side::Input, 1, 4);
  image.takeDeviceSnapshot();
  Crosspoints::toggle(image, 1, 3);
  EXPECT_EQ(image.field(Side::Input, 4, InputField::mix(3)), 0);
  EXPECT_EQ(changedRows(), 1u);
}

TEST_F(ChannelEditingTest, JoiningTakesTheHighestMembersParameters) {
  pretendConnected();
  groups.join(Side::Input, 0, 3);
  image.setField(Side::Input, 0, InputField::Delay, 11);
  image.setField(Side::Input, 3, InputField::Delay, 33);
  image.setField(Side::Input, 3, InputField::Comp_ratio, 16);
  image.setField(Side::Input, 6, InputField::mix(2), 90);
  image.setField(Side::Input, 6, InputField::Mute, 0);
  queued();

  EXPECT_EQ(groups.join(Side::Input, 0, 6), 2);
  EXPECT_EQ(image.field(Side::Input, 6, InputField::Delay), 33);
  EXPECT_EQ(image.field(Side::Input, 6, InputField::Comp_ratio), 16);
  EXPECT_EQ(image.field(Side::Input, 6, InputField::LinkGroup), 1);
  EXPECT_EQ(image.field(Side::Input, 6, InputField::Mute), 0);
  EXPECT_EQ(image.field(Side::Input, 6, InputField::mix(2)), 90);
  EXPECT_EQ(image.row(Side::Input, 6, 0)[0], 'G');
  const auto frames = queued();
  ASSERT_EQ(frames.size(), 2u);
  for (const SendData& frame : frames) {
    EXPECT_EQ(frame.block(), 1);
    EXPECT_EQ(frame.item(), 6);
    EXPECT_EQ(frame.length(), 120u);
  }
  EXPECT_EQ(frames[1].payload()[10], 33);  // the delay the block carries
}

TEST_F(ChannelEditingTest, JoiningTheSameGroupOrWithoutALinkQueuesNothing) {
  pretendConnected();
  EXPECT_EQ(groups.join(Side::Output, 4, 4), 0);
  EXPECT_TRUE(queued().empty());
  image.modify([](ImageData& d) { d.connection.linkType = LinkType::None; });
  image.setField(Side::Output, 2, OutputField::Lim_Threshold, 222);
  EXPECT_EQ(groups.join(Side::Output, 2, 5), 1);
  EXPECT_EQ(image.field(Side::Output, 5, OutputField::Lim_Threshold), 222);
  EXPECT_EQ(image.field(Side::Output, 5, OutputField::LinkGroup), 83);
  EXPECT_TRUE(queued().empty());
}

TEST_F(ChannelEditingTest, FollowingCopiesToEveryMember) {
  groups.join(Side::Input, 2, 5);
  groups.join(Side::Input, 2, 7);
  image.takeDeviceSnapshot();
  image.setField(Side::Input, 2, InputField::Gain, 250);
  const std::array<Field, 1> gain{InputField::Gain};
  EXPECT_EQ(groups.follow(Side::Input, 2, gain), (std::vector<int>{5, 7}));
  for (int n : {2, 5, 7}) EXPECT_EQ(image.field(Side::Input, n, InputField::Gain), 250);
  EXPECT_EQ(image.field(Side::Input, 3, InputField::Gain), 300);
  EXPECT_EQ(changedRows(), 3u);
}

TEST_F(ChannelEditingTest, DamagedGroupBytesResetTheirSide) {
  groups.join(Side::Input, 0, 1);
  image.setField(Side::Output, 3, OutputField::LinkGroup, 89);
  groups.normalise();
  for (int n = 0; n < kChannels; ++n) {
    EXPECT_EQ(groups.group(Side::Output, n), n);
    EXPECT_EQ(image.field(Side::Output, n, OutputField::LinkGroup), 81 + n);
  }
  EXPECT_EQ(groups.group(Side::Input, 1), 0);
  image.setField(Side::Input, 4, InputField::LinkGroup, 0);
  groups.normalise();
  EXPECT_EQ(groups.group(Side::Input, 1), 1);
}

TEST_F(ChannelEditingTest, MasterMuteBringsBackTheRememberedLevel) {
  master.setLevel(Side::Input, 300);
  master.setLevel(Side::Input, 0);
  for (int n = 0; n < kChannels; ++n) EXPECT_EQ(image.field(Side::Input, n, InputField::Allvolume), 0);
  EXPECT_EQ(master.toggleMute(Side::Input), 120);  // 0 was never remembered
  EXPECT_EQ(master.toggleMute(Side::Input), 0);
  EXPECT_EQ(master.toggleMute(Side::Input), 120);

  master.setLevel(Side::Output, 500);
  EXPECT_EQ(master.toggleMute(Side::Output), 0);
  for (int n = 0; n < kChannels; ++n) EXPECT_EQ(image.field(Side::Output, n, OutputField::Allvolume), 0);
  EXPECT_EQ(master.toggleMute(Side::Output), 500);
  EXPECT_EQ(image.field(Side::Output, 7, OutputField::Allvolume), 500);
}

TEST_F(ChannelEditingTest, AntiFeedbackTravelsAsOneRow) {
  image.takeDeviceSnapshot();
  master.setAntiFeedback(false);
  EXPECT_FALSE(master.antiFeedback());
  const auto row = image.takeNextChangedRow(Side::Input);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->channel, 0);
  EXPECT_EQ(row->row, 2);
  EXPECT_FALSE(image.takeNextChangedRow(Side::Input));
  for (int n = 0; n < kChannels; ++n) EXPECT_EQ(image.field(Side::Input, n, InputField::All_Feedback), 0);
}

}  // namespace
}  // namespace orvane
