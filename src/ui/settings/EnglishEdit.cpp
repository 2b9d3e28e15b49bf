#include "ui/settings/EnglishEdit.h"

#include <QValidator>

#include "model/NetworkNameFilter.h"

namespace orvane::ui {

namespace {

// Strips what the name may not hold from every change of the text, wherever
// it comes from, and keeps the cursor after what was inserted.
class NetworkNameValidator : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& position) const override {
    const QString before = input.left(position);
    const QString kept = allowed(input);
    if (kept.size() != input.size()) {
      position = static_cast<int>(std::min(allowed(before).size(), kept.size()));
      input = kept;
    }
    return Acceptable;
  }

 private:
  static QString allowed(const QString& text) {
    return QString::fromStdString(NetworkNameFilter::keepAllowed(text.toStdString()));
  }
};

}  // namespace

EnglishEdit::EnglishEdit(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(static_cast<int>(NetworkNameFilter::kMaxLength));
  setValidator(new NetworkNameValidator(this));
}

}  // namespace orvane::ui
