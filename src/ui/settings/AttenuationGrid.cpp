#include "ui/settings/AttenuationGrid.h"

#include <QGridLayout>
#include <QLabel>

#include "ui/common/UiText.h"
#include "ui/pages/NumField.h"
#include "ui/settings/SettingsTexts.h"
#include "ui/settings/SetupFields.h"
#include "ui/settings/SetupSession.h"

namespace orvane::ui {

namespace T = SettingsTexts;

// Rows chairman, representative, cascade; columns conference, discussion.
AttenuationGrid::AttenuationGrid(SetupSession& session, QWidget* parent)
    : QGroupBox(uiText(T::kAttenuation), parent), session_(session) {
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(uiText(T::kConference), this), 0, 1, Qt::AlignCenter);
  grid->addWidget(new QLabel(uiText(T::kDiscussion), this), 0, 2, Qt::AlignCenter);
  int row = 1;
  for (const BiText& caption : {T::kChairman, T::kRepresentative, T::kCascade})
    grid->addWidget(new QLabel(uiText(caption), this), row++, 0);

  for (int mode = 0; mode < 2; ++mode) {
    NumField* chairman = SetupFields::make(this, SetupFields::kChairman);
    chairman->showValue(SetupSettings::kAttenuationCode.max);
    chairman->setEnabled(false);
    chairman_[static_cast<std::size_t>(mode)] = chairman;
    grid->addWidget(chairman, 1, mode + 1);
  }
  const std::array<std::pair<Attenuation, int>, 4> places{{{Attenuation::ConferenceRepresentative, 1},
                                                           {Attenuation::ConferenceCascade, 1},
                                                           {Attenuation::DiscussionRepresentative, 2},
                                                           {Attenuation::DiscussionCascade, 2}}};
  for (std::size_t i = 0; i < places.size(); ++i) {
    const auto [which, column] = places[i];
    NumField* field = SetupFields::make(this, Scales::kAttenuation);
    field->setObjectName(QStringLiteral("attenuation%1").arg(i));
    field->showValue(session_.settings().attenuation(which));
    fields_[i] = field;
    grid->addWidget(field, 2 + static_cast<int>(i % 2), column);
    connect(field, &NumField::valueEdited, this, [this, which](int code) {
      session_.change([which, code](SetupSettings& s) { return s.setAttenuation(which, code); });
    });
  }
}

}  // namespace orvane::ui
