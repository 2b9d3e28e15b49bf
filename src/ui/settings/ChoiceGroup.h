#pragma once

// A settings group that holds one drop list under a caption, with a help
// button: the optical delay and the start-up program. The list keeps the
// order of its entries; the selected index is the stored value.

#include <QGroupBox>
#include <QStringList>
#include <functional>

#include "model/Language.h"
#include "ui/settings/Dev_Set_Cap.h"

class QComboBox;

namespace orvane::ui {

class HelpButton;

class ChoiceGroup : public QGroupBox {
  Q_OBJECT

 public:
  struct Captions {
    BiText title;
    BiText label;
  };
  using Chosen = std::function<void(int index)>;

  ChoiceGroup(const Captions& captions, const QStringList& entries, int index, Dev_Set_Cap::Topic topic,
              Chosen chosen, QWidget* parent);

  QComboBox* list() const { return list_; }
  HelpButton* helpButton() const { return help_; }

 private:
  QComboBox* list_;
  HelpButton* help_;
};

}  // namespace orvane::ui
