#include "ui/settings/SetupFields.h"

#include "ui/pages/NumField.h"

namespace orvane::ui::SetupFields {

NumField* make(QWidget* parent, const FieldFormat& format, const char* suffix) {
  NumField* field = PageControls::makeField(parent, format, 72);
  field->setDisplayKind(format.kind, QString::fromLatin1(suffix));
  return field;
}

}  // namespace orvane::ui::SetupFields
