#include "ui/main/GraphArea.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/main/MainTexts.h"
#include "ui/main/UiText.h"

namespace orvane::ui {

GraphArea::GraphArea(QWidget* parent) : QFrame(parent) {
  setObjectName("graphArea");
  setFrameShape(QFrame::StyledPanel);
  title_ = new QLabel(this);
  (new QVBoxLayout(this))->addWidget(title_, 0, Qt::AlignTop | Qt::AlignLeft);
}

void GraphArea::applyLanguage() {
  title_->setText(uiText(MainTexts::kGraph));
}

}  // namespace orvane::ui
