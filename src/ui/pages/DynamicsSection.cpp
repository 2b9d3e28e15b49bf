#include "ui/pages/DynamicsSection.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>

#include "model/ParameterCatalog.h"
#include "model/ValueScales.h"
#include "ui/graphs/DynamicsGraph.h"
#include "ui/pages/ChannelEdit.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"

namespace orvane::ui {

namespace {

constexpr int kWholeRatios = 20;  // 1:1 .. 20:1

int ratioCode(int index) {
  return index * 10 + 1;
}

int ratioIndex(int code) {
  return (code - 1) / 10;
}

}  // namespace

DynamicsSection::DynamicsSection(ChannelEdit& edit, DynamicsGraph* graph,
                                 std::span<const DynamicsGroup> groups, DynamicsLimit limit, QWidget* parent)
    : QWidget(parent), edit_(edit), graph_(graph), limit_(limit) {
  std::size_t count = 0;
  for (const DynamicsGroup& group : groups) count += group.rows.size();
  controls_.reserve(count);  // the handlers keep pointers into it
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  for (const DynamicsGroup& group : groups) addGroup(group);
  graph_->setParent(this);
  row->addWidget(graph_, 1);
  connect(graph_, &DynamicsGraph::fieldDragged, this, &DynamicsSection::onDragged);
}

void DynamicsSection::addGroup(const DynamicsGroup& group) {
  auto* box = new QGroupBox(this);
  captions_.add(box, *group.title);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setVerticalSpacing(3);
  for (const DynamicsRow& row : group.rows) {
    const CatalogEntry& entry = *ParameterCatalog::entry(row.path, edit_.side());
    const ParameterScale& scale = *entry.value.scale;
    Control& control = controls_.emplace_back(
        Control{entry.field(edit_.side(), 0), &scale, PageControls::makeField(box, scale)});
    const int at = grid->rowCount();
    grid->addWidget(captions_.label(*row.caption, box), at, 0);
    grid->addWidget(control.field, at, 1);
    connect(control.field, &NumField::valueEdited, this, [this, &control](int v) { onEdited(control, v); });
    connect(control.field, &NumField::valueHeld, this, [this, &control](int v) { onEdited(control, v); });
    if (!control.field->edit()->format().isRatio()) continue;
    control.ratios = new QComboBox(box);
    control.ratios->hide();
    for (int i = 0; i < kWholeRatios; ++i)
      control.ratios->addItem(QString::fromStdString(control.field->edit()->format().text(ratioCode(i))));
    connect(control.ratios, &QComboBox::activated, this,
            [this, &control](int index) { onEdited(control, ratioCode(index)); });
  }
  grid->setRowStretch(grid->rowCount(), 1);
  static_cast<QHBoxLayout*>(layout())->addWidget(box);
}

const DynamicsSection::Control* DynamicsSection::find(Field field) const {
  for (const Control& control : controls_)
    if (control.stored == field) return &control;
  return nullptr;
}

NumField* DynamicsSection::field(Field field) const {
  const Control* control = find(field);
  return control ? control->field : nullptr;
}

QComboBox* DynamicsSection::ratioList(Field field) const {
  const Control* control = find(field);
  return control ? control->ratios : nullptr;
}

void DynamicsSection::showChannel() {
  for (Control& control : controls_) {
    const int stored = edit_.value(control.stored);
    show(control, (control.ratios ? ValueScales::SnapRatio(stored) : stored) + control.scale->shown);
  }
  graph_->ShowChannel(edit_.channel());
}

void DynamicsSection::show(const Control& control, int shown) {
  control.field->showValue(shown);
  if (control.ratios) control.ratios->setCurrentIndex(ratioIndex(control.field->value()));
}

// The field is set back when a limit changed what was entered.
void DynamicsSection::onEdited(const Control& control, int shown) {
  // A damaged neighbour cannot push the code out of the field's range.
  const ParameterScale& scale = *control.scale;
  int code = std::clamp(limit_(control.stored, shown - scale.shown, edit_), scale.storedMinimum(),
                        scale.storedMaximum());
  if (control.ratios) code = ValueScales::SnapRatio(code);
  show(control, code + scale.shown);
  edit_.write(control.stored, code);
  graph_->Redraw();
}

void DynamicsSection::onDragged(Field field, int code) {
  if (const Control* control = find(field)) show(*control, code + control->scale->shown);
  edit_.follow({field});
}

void DynamicsSection::setLocked(bool locked) {
  for (Control& control : controls_) control.field->setLocked(locked);
  graph_->Redraw();
}

}  // namespace orvane::ui
