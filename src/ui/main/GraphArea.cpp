#include "ui/main/GraphArea.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/common/UiText.h"
#include "ui/graphs/CFStatic.h"
#include "ui/main/MainTexts.h"

namespace orvane::ui {

GraphArea::GraphArea(ParameterImage& image, ChannelFilters& filters, QWidget* parent) : QFrame(parent) {
  setObjectName("graphArea");
  setFrameShape(QFrame::StyledPanel);
  title_ = new QLabel(this);
  graph_ = new CFStatic(image, filters, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 4);
  layout->setSpacing(2);
  layout->addWidget(title_, 0, Qt::AlignLeft);
  layout->addWidget(graph_, 1);
}

void GraphArea::refreshFromImage() {
  graph_->Redraw(-1);
}

void GraphArea::applyLanguage() {
  title_->setText(uiText(MainTexts::kGraph));
}

// The graph reads the locks as it draws and as the pointer moves.
void GraphArea::applyLocks(const LockState&) {
  graph_->update();
}

}  // namespace orvane::ui
