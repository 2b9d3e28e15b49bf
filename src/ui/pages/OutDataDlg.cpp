#include "ui/pages/OutDataDlg.h"

#include "model/CrossLimits.h"
#include "model/Scales.h"
#include "ui/graphs/COM_EXT_LIMStatic.h"
#include "ui/pages/PageTexts.h"

namespace orvane::ui {

namespace {


constexpr std::array<DynamicsRow, 4> kCompressorRows{{
    {&PageTexts::kLevel, "<ch>.comp.level"},
    {&PageTexts::kRatio, "<ch>.comp.ratio"},
    {&PageTexts::kAttack, "<ch>.comp.attack"},
    {&PageTexts::kRelease, "<ch>.comp.release"},
}};
constexpr std::array<DynamicsRow, 3> kLimiterRows{{
    {&PageTexts::kThreshold, "<ch>.lim.threshold"},
    {&PageTexts::kAttack, "<ch>.lim.attack"},
    {&PageTexts::kRelease, "<ch>.lim.release"},
}};
constexpr std::array<DynamicsGroup, 2> kGroups{
    {{&PageTexts::kCompressor, kCompressorRows}, {&PageTexts::kLimiter, kLimiterRows}}};

int dynamicsLimit(Field field, int code, const ChannelEdit& edit) {
  return CrossLimits::dynamics(edit.image(), Side::Output, edit.channel(), field, code);
}

}  // namespace

OutDataDlg::OutDataDlg(ParameterImage& image, ChannelFilters& filters, LinkGroups& links, QWidget* parent)
    : ChannelPage(Side::Output, image, filters, links,
                  {new COM_EXT_LIMStatic(image), kGroups, &dynamicsLimit}, parent) {
  setObjectName("outputPage");
  applyLanguage();
}

}  // namespace orvane::ui
