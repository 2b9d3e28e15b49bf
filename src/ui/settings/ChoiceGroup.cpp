#include "ui/settings/ChoiceGroup.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

#include "ui/common/UiText.h"
#include "ui/pages/PageControls.h"
#include "ui/settings/HelpButton.h"

namespace orvane::ui {

ChoiceGroup::ChoiceGroup(const Captions& captions, const QStringList& entries, int index,
                         Dev_Set_Cap::Topic topic, Chosen chosen, QWidget* parent)
    : QGroupBox(uiText(captions.title), parent) {
  auto* row = new QHBoxLayout(this);
  row->addWidget(new QLabel(uiText(captions.label), this));
  list_ = new QComboBox(this);
  list_->addItems(entries);
  list_->setMaxVisibleItems(16);
  PageControls::select(list_, index);
  row->addWidget(list_, 1);
  help_ = new HelpButton(topic, this);
  row->addWidget(help_);
  connect(list_, &QComboBox::activated, this, std::move(chosen));
}

}  // namespace orvane::ui
