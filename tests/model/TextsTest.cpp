#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "model/Language.h"
#include "model/Texts.h"

namespace orvane::Texts {
namespace {

using List = std::vector<std::string_view>;

// Sets the language flag for one test and puts the old value back.
class LanguageScope {
 public:
  explicit LanguageScope(int flag) : saved_(Language::flag()) { Language::setFlag(flag); }
  ~LanguageScope() { Language::setFlag(saved_); }
  LanguageScope(const LanguageScope&) = delete;
  LanguageScope& operator=(const LanguageScope&) = delete;

 private:
  int saved_;
};

constexpr int kEnglish = 1;
constexpr int kChinese = 0;

TEST(Texts, ChoiceListsInEnglish) {
  const LanguageScope scope(kEnglish);
  EXPECT_EQ(CurrentList(kEqBandType), (List{"Parameter", "Lo-Shelf", "Hi-Shelf"}));
  EXPECT_EQ(CurrentList(kCrossoverFamily), (List{"Link_Ril", "Bessel", "BTWorth"}));
  EXPECT_EQ(CurrentList(kCrossoverSlope), (List{"12", "18", "24", "30", "36", "42", "48"}));
  EXPECT_EQ(CurrentList(kShelfSlope), (List{"6dB", "12dB"}));
  EXPECT_EQ(CurrentList(kFeedbackLevel), (List{"OFF", "Level 1", "Level 2", "Level 3", "Level 4"}));
  EXPECT_EQ(CurrentList(LinkGroupList(Side::Input)),
            (List{"Link A", "Link B", "Link C", "Link D", "Link E", "Link F", "Link G", "Link H"}));
  EXPECT_EQ(CurrentList(LinkGroupList(Side::Output)),
            (List{"Link 1", "Link 2", "Link 3", "Link 4", "Link 5", "Link 6", "Link 7", "Link 8"}));
}

TEST(Texts, ChoiceListsInChinese) {
  const LanguageScope scope(kChinese);
  EXPECT_EQ(CurrentList(kEqBandType), (List{"参量", "低调", "高调"}));
  EXPECT_EQ(CurrentList(kCrossoverFamily), (List{"宁克", "贝塞尔", "巴特沃斯"}));
  EXPECT_EQ(CurrentList(kCrossoverSlope), (List{"12", "18", "24", "30", "36", "42", "48"}));
  EXPECT_EQ(CurrentList(kShelfSlope), (List{"6dB", "12dB"}));
  EXPECT_EQ(CurrentList(kFeedbackLevel), (List{"OFF", "1级", "2级", "3级", "4级"}));
  EXPECT_EQ(CurrentList(LinkGroupList(Side::Input)),
            (List{"联调A", "联调B", "联调C", "联调D", "联调E", "联调F", "联调G", "联调H"}));
  EXPECT_EQ(CurrentList(LinkGroupList(Side::Output)),
            (List{"联调1", "联调2", "联调3", "联调4", "联调5", "联调6", "联调7", "联调8"}));
}

TEST(Texts, ChoiceTextFollowsTheFlagAndIsEmptyForCodesNotInTheList) {
  const LanguageScope scope(kEnglish);
  EXPECT_EQ(ChoiceText(kEqBandType, 2), "Hi-Shelf");
  EXPECT_EQ(ChoiceText(kEqBandType, 3), "");
  EXPECT_EQ(ChoiceText(kEqBandType, -1), "");
  EXPECT_EQ(ChoiceText(kCrossoverSlope, 7), "");
  Language::setFlag(kChinese);
  EXPECT_EQ(ChoiceText(kEqBandType, 2), "高调");
  EXPECT_EQ(ChoiceText(LinkGroupList(Side::Output), 8), "");
}

TEST(Texts, FeedbackCodesMapToListPositions) {
  const std::vector<int> codes{0, 5, 7, 9, 11};
  for (int position = 0; position < 5; ++position) {
    EXPECT_EQ(FeedbackCode(position), codes[static_cast<std::size_t>(position)]);
    EXPECT_EQ(FeedbackPosition(codes[static_cast<std::size_t>(position)]), position);
  }
  for (int code : {-1, 1, 4, 6, 8, 10, 12, 255}) EXPECT_FALSE(FeedbackPosition(code).has_value()) << code;
  EXPECT_EQ(FeedbackCode(-1), 0);
  EXPECT_EQ(FeedbackCode(5), 11);

  const LanguageScope scope(kEnglish);
  EXPECT_EQ(FeedbackText(9), "Level 3");
  EXPECT_EQ(FeedbackText(6), "");
  Language::setFlag(kChinese);
  EXPECT_EQ(FeedbackText(9), "3级");
  EXPECT_EQ(FeedbackText(0), "OFF");
}

TEST(Texts, MessagesAndCaptionInBothLanguages) {
  const LanguageScope scope(kEnglish);
  EXPECT_EQ(kInformation.current(), "Information");
  EXPECT_EQ(kOpenLinkFirst.current(), "Please open the Link");
  EXPECT_EQ(kComPortFailed.current(), "Unable to Open COM-Port");
  EXPECT_EQ(kUsbFailed.current(), "Unable to Open USB");
  EXPECT_EQ(kNetworkFailed.current(), "Unable to Open NetWork");
  Language::setFlag(kChinese);
  EXPECT_EQ(kInformation.current(), "信息");
  EXPECT_EQ(kOpenLinkFirst.current(), "请打开连接");
  EXPECT_EQ(kComPortFailed.current(), "不能打开串口");
  EXPECT_EQ(kUsbFailed.current(), "不能打开USB");
  EXPECT_EQ(kNetworkFailed.current(), "不能打开网络");
}

}  // namespace
}  // namespace orvane::Texts
