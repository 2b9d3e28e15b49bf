#include "ui/settings/SetupFields.h"

#include "ui/pages/NumField.h"

namespace orvane::ui::SetupFields {

NumField* make(QWidget* parent, const ParameterScale& scale) {
  NumField* field = PageControls::makeField(parent, scale, 72);
  field->setDisplayKind(scale.kind,
                        QString::fromUtf8(scale.unit.data(), static_cast<int>(scale.unit.size())));
  return field;
}

}  // namespace orvane::ui::SetupFields
