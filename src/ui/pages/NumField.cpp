#include "ui/pages/NumField.h"

#include <QHBoxLayout>
#include <algorithm>

#include "ui/pages/NumEdit.h"
#include "ui/pages/NumSpin.h"

namespace orvane::ui {

NumField::NumField(QWidget* parent) : QWidget(parent), edit_(new NumEdit(this)), spin_(new NumSpin(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(edit_, 1);
  layout->addWidget(spin_);
  spin_->setBuddy(edit_);
  setFocusProxy(edit_);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  connect(spin_, &NumSpin::valueEdited, this, &NumField::valueEdited);
  connect(spin_, &NumSpin::valueHeld, this, &NumField::valueHeld);
}

void NumField::setScale(const ParameterScale& scale, const QString& suffix) {
  setDisplayKind(scale.kind, suffix);
  setStep(scale.step);
  setOffset(scale.offset);
  setRange(scale.minimum, scale.maximum);
}

void NumField::setDisplayKind(NumKind kind, const QString& suffix) {
  edit_->setDisplayKind(kind, suffix);
}

void NumField::setStep(double step) {
  edit_->setStep(step);
}

void NumField::setOffset(double offset) {
  edit_->setOffset(offset);
}

void NumField::setRange(int minimum, int maximum) {
  spin_->setRange(minimum, maximum);
}

int NumField::minimum() const {
  return spin_->minimum();
}

int NumField::maximum() const {
  return spin_->maximum();
}

bool NumField::setValue(int code) {
  return spin_->setValue(code);
}

void NumField::showValue(int code) {
  spin_->setValue(std::clamp(code, minimum(), maximum()));
}

int NumField::value() const {
  return spin_->value();
}

void NumField::setLocked(bool locked) {
  spin_->setLocked(locked);
}

bool NumField::isLocked() const {
  return spin_->isLocked();
}

}  // namespace orvane::ui
