#include "ui/pages/OutDataDlg.h"

#include "model/CrossLimits.h"
#include "ui/graphs/COM_EXT_LIMStatic.h"
#include "ui/pages/PageTexts.h"

namespace orvane::ui {

namespace {

using namespace OutputField;
using namespace DynamicsFields;

constexpr FieldFormat kLevel{NumKind::LevelOffAtTop, 0.1, 30, 0, 500};

constexpr std::array<DynamicsRow, 4> kCompressorRows{{
    {&PageTexts::kLevel, Comp_Level, kLevel},
    {&PageTexts::kRatio, Comp_ratio, kCompressorRatio},
    {&PageTexts::kAttack, Comp_A, kAttack},
    {&PageTexts::kRelease, Comp_R, kRelease, kReleaseShown},
}};
constexpr std::array<DynamicsRow, 3> kLimiterRows{{
    {&PageTexts::kThreshold, Lim_Threshold, kLevel},
    {&PageTexts::kAttack, Lim_Attack, kAttack},
    {&PageTexts::kRelease, Lim_Release, kRelease, kReleaseShown},
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
