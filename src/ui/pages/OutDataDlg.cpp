#include "ui/pages/OutDataDlg.h"

#include "model/CrossLimits.h"
#include "model/Scales.h"
#include "ui/graphs/COM_EXT_LIMStatic.h"
#include "ui/pages/PageTexts.h"

namespace orvane::ui {

namespace {

using namespace OutputField;
namespace Sc = Scales;

constexpr std::array<DynamicsRow, 4> kCompressorRows{{
    {&PageTexts::kLevel, Comp_Level, &Sc::kOutputLevel},
    {&PageTexts::kRatio, Comp_ratio, &Sc::kCompressorRatio},
    {&PageTexts::kAttack, Comp_A, &Sc::kAttack},
    {&PageTexts::kRelease, Comp_R, &Sc::kRelease},
}};
constexpr std::array<DynamicsRow, 3> kLimiterRows{{
    {&PageTexts::kThreshold, Lim_Threshold, &Sc::kOutputLevel},
    {&PageTexts::kAttack, Lim_Attack, &Sc::kAttack},
    {&PageTexts::kRelease, Lim_Release, &Sc::kRelease},
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
