#pragma once

// The dynamics of a channel page: groups of fields (AGC and compressor on an
// input, compressor and limiter on an output) beside the graph of their
// transfer curve. A field edited stores its code, kept within the limits
// its neighbours set, and redraws the curve; a point dragged on the graph
// shows its new code in the field. Both are copied to the linked channels.

#include <QWidget>
#include <span>
#include <vector>

#include "model/BlockLayout.h"
#include "ui/pages/CaptionSet.h"
#include "ui/pages/PageControls.h"

class QComboBox;

namespace orvane::ui {

class ChannelEdit;
class DynamicsGraph;
class NumField;

// A field and its caption; the field edits the catalog entry of `path` on
// the page's side.
struct DynamicsRow {
  const BiText* caption;
  std::string_view path;  // "<ch>.agc.target"
};

struct DynamicsGroup {
  const BiText* title;
  std::span<const DynamicsRow> rows;
};

// The code to store for `code` typed into `field`, kept within what the
// channel's other dynamics fields allow.
using DynamicsLimit = int (*)(Field field, int code, const ChannelEdit& edit);

class DynamicsSection : public QWidget {
  Q_OBJECT

 public:
  // Takes `graph` as a child.
  DynamicsSection(ChannelEdit& edit, DynamicsGraph* graph, std::span<const DynamicsGroup> groups,
                  DynamicsLimit limit, QWidget* parent = nullptr);

  void showChannel();
  void applyLanguage() { captions_.apply(); }
  void setLocked(bool locked);

  NumField* field(Field field) const;
  // The ratio's list of whole ratios; kept hidden, it follows the field.
  QComboBox* ratioList(Field field) const;
  DynamicsGraph* graph() const { return graph_; }

 private:
  struct Control {
    Field stored;                 // the entry's field of the channel block
    const ParameterScale* scale;  // the field shows the stored code + the scale's `shown`
    NumField* field = nullptr;
    QComboBox* ratios = nullptr;
  };

  void addGroup(const DynamicsGroup& group);
  const Control* find(Field field) const;
  void onEdited(const Control& control, int shown);
  void onDragged(Field field, int code);
  void show(const Control& control, int shown);

  ChannelEdit& edit_;
  DynamicsGraph* graph_;
  DynamicsLimit limit_;
  CaptionSet captions_;
  std::vector<Control> controls_;
};

}  // namespace orvane::ui
