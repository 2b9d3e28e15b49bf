#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "dsp/ChannelFilters.h"
#include "model/ParameterImage.h"

namespace orvane {
namespace {

constexpr std::size_t k1000Hz = 136;

class ChannelFiltersTest : public testing::Test {
 protected:
  // The device copy of a channel gets a +6 dB band 1 at 1000 Hz.
  void deviceBoost(Side side, int channel) {
    image.takeDeviceSnapshot();
    image.modify([&](ImageData& d) {
      EqBand{1000, 460, 25, 0, 0}.write(d.device.block(side, channel), side, 0);
    });
  }
  double band1At1000(Side side, int channel) {
    return filters.channel(side, channel).element(0).response()[k1000Hz];
  }

  ParameterImage image;
  ChannelFilters filters{image};
};

// A copy carries what the record cannot: the gain of a bypassed band.
TEST_F(ChannelFiltersTest, FollowsACopyBetweenChannels) {
  image.setBand(Side::Input, 1, 0, {1000, 460, 25, 0, 0});
  filters.input(1).Rebind();
  filters.input(1).SetAllBypass(true);
  image.copyInputChannel(1, 6);
  EXPECT_TRUE(filters.input(6).AllBandsFlat());
  CFilter& copied = filters.input(6).element(0);
  EXPECT_TRUE(copied.isBypassed());
  copied.SetBypass(false);
  EXPECT_EQ(image.band(Side::Input, 6, 0).Gain, 460);
  EXPECT_FALSE(filters.input(6).AllBandsFlat());
}

// A copy takes the source as it is when the copy is made: neither a later
// copy onto the source nor a later edit of it reaches the destination, and
// the destination leaves the worker nothing to send.
TEST_F(ChannelFiltersTest, ACopyTakesTheSourceAsItIsWhenCopied) {
  const EqBand boost{1000, 460, 25, 0, 0};
  const EqBand cut{2000, 300, 40, 0, 0};
  image.setBand(Side::Input, 2, 0, boost);
  image.setBand(Side::Input, 3, 0, cut);
  filters.input(2).Rebind();
  filters.input(3).Rebind();
  filters.input(2).SetAllBypass(true);
  image.takeDeviceSnapshot();
  image.copyInputChannel(2, 6);
  image.copyInputChannel(7, 2);
  image.copyInputChannel(3, 5);
  image.setBand(Side::Input, 3, 0, boost);

  CFilter& copied = filters.input(6).element(0);
  EXPECT_TRUE(copied.isBypassed());
  EXPECT_EQ(image.band(Side::Input, 6, 0), (EqBand{1000, 400, 25, 0, 0}));
  EXPECT_EQ(filters.input(5).element(0).GainCode(), cut.Gain);
  EXPECT_EQ(image.band(Side::Input, 5, 0), cut);
  const auto edit = image.takeNextChangedRow(Side::Input);
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->channel, 3);
  EXPECT_FALSE(image.takeNextChangedRow(Side::Input));
  copied.SetBypass(false);
  EXPECT_EQ(image.band(Side::Input, 6, 0), boost);
}

TEST_F(ChannelFiltersTest, ACopiedSourceIsReloadedFirst) {
  deviceBoost(Side::Output, 2);
  image.restoreFromDeviceCopy();  // output 2 not yet reloaded when the copy comes
  image.copyOutputChannel(2, 5);
  EXPECT_NEAR(band1At1000(Side::Output, 5), 6.0, 1e-6);
  EXPECT_NEAR(band1At1000(Side::Output, 2), 6.0, 1e-6);
  EXPECT_EQ(band1At1000(Side::Output, 3), 0.0);
}

// A transport thread restores the image and copies channels while the owner
// copies and reads them; under ThreadSanitizer this shows the hand-over is
// race-free.
TEST_F(ChannelFiltersTest, RestoreAndCopiesOnAnotherThreadWhileTheOwnerReads) {
  deviceBoost(Side::Input, 0);
  std::atomic<bool> stop{false};
  // At least one restore, however late the thread gets going.
  std::thread transport([&] {
    do {
      image.restoreFromDeviceCopy();
      image.copyOutputChannel(1, 4);
    } while (!stop.load());
  });
  for (int round = 0; round < 200; ++round) {
    image.copyInputChannel(1 + round % 7, 1 + (round + 3) % 7);
    for (int ch = 0; ch < kChannels; ++ch) {
      filters.input(ch).SumCurve(240);
      filters.output(ch).SumCurve(240);
    }
  }
  stop = true;
  transport.join();
  EXPECT_NEAR(band1At1000(Side::Input, 0), 6.0, 1e-6);
}

}  // namespace
}  // namespace orvane
