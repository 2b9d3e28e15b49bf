#pragma once

// A password field: masked, at most six characters, and only letters and
// digits get in, whether typed or pasted. Nothing can be copied out of it.

#include <QLineEdit>

namespace orvane::ui {

class PassWordEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit PassWordEdit(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
};

}  // namespace orvane::ui
