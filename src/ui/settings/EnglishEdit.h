#pragma once

// The network name field: takes only the letters A-Z and a-z and the digits
// 0-9, typed, pasted or dropped, at most 255 of them. Everything else
// (blanks, punctuation, double-byte characters from an input method) drops
// out of the text before it reaches the field.

#include <QLineEdit>

namespace orvane::ui {

class EnglishEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit EnglishEdit(QWidget* parent = nullptr);
};

}  // namespace orvane::ui
