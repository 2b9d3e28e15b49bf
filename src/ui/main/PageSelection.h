#pragma once

// Which page the page area of the main window shows: the matrix page, or the
// page of one input or output. Choosing one moves the strip highlight, shows
// or hides the matrix area (the crosspoints, the graph and the tools give
// way to the matrix page), points the master section at the side shown and
// the graph at the channel. It also keeps the page shown in step with what
// is edited beside it: an element dragged on the graph, or a strip's edit of
// the channel the page shows.

#include <QObject>

#include "model/EditorState.h"
#include "model/ParameterImage.h"

namespace orvane::ui {

class Console;
class TopBar;

class PageSelection : public QObject {
  Q_OBJECT

 public:
  PageSelection(ParameterImage& image, const Console& console, TopBar& topBar);

  // The matrix page, or the page of input or output `channel`.
  void select(Page page, int channel);
  // An element dragged on the graph: the page of its channel shows it, and
  // the channels linked to that channel follow.
  void followGraphChange(int index, int mode);
  // Each step of a graph drag: the page's readouts of the element follow it.
  void followGraphDrag(int index, int mode);
  // A strip changed a channel's gain or its link group (which rewrites its
  // parameters): the page showing that channel shows it anew.
  void showStripEdit(Side side);

 private:
  // Shows the main window's own matrix area (crosspoint buttons, graph,
  // tools), or hides it for the matrix mixer page.
  void showMatrixArea(bool on);

  ParameterImage& image_;
  const Console& console_;
  TopBar& topBar_;
};

}  // namespace orvane::ui
