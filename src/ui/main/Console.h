#pragma once

// The console of the main window, below the tool bar: the input strips down
// the left with the master section below them, the output strips along the
// bottom, and between them the crosspoints, the response graph and the page
// area with the matrix, input and output pages (one shows at a time). It
// builds these widgets into one area of the window, which owns them, and
// keeps pointers to them so the window can wire them and walk over them.

#include <vector>

#include "model/EditorState.h"

class QFrame;
class QWidget;

namespace orvane {
class ChannelFilters;
class LinkGroups;
class MasterSection;
class ParameterImage;
}  // namespace orvane

namespace orvane::ui {

class CFStatic;
class ChannelPage;
class CrosspointGrid;
class GraphArea;
class InDataDlg;
class InMicDlg;
class MasterPanel;
class OutDataDlg;
class StripBank;
class WindowPart;

class Console {
 public:
  // Builds the console into a new area of `window`.
  Console(ParameterImage& image, LinkGroups& links, MasterSection& master, ChannelFilters& filters,
          QWidget* window);

  QWidget* area() const { return area_; }
  StripBank* bank(Side side) const { return side == Side::Input ? inputs_ : outputs_; }
  MasterPanel* masterPanel() const { return masterPanel_; }
  CrosspointGrid* crosspoints() const { return crosspoints_; }
  GraphArea* graphArea() const { return graphArea_; }
  // The response graph of the graph area.
  CFStatic* graph() const;
  QFrame* pageArea() const { return pageArea_; }
  InMicDlg* matrixPage() const { return matrixPage_; }
  InDataDlg* inputPage() const { return inputPage_; }
  OutDataDlg* outputPage() const { return outputPage_; }
  // The page of the channels of `side`.
  ChannelPage* channelPage(Side side) const;
  // Every part of the console, in the order they show the image anew.
  std::vector<WindowPart*> parts() const;

 private:
  QWidget* buildWorkArea(QWidget* parent);
  void buildPages();

  ParameterImage& image_;
  LinkGroups& links_;
  ChannelFilters& filters_;
  QWidget* area_ = nullptr;
  StripBank* inputs_ = nullptr;
  StripBank* outputs_ = nullptr;
  MasterPanel* masterPanel_ = nullptr;
  CrosspointGrid* crosspoints_ = nullptr;
  GraphArea* graphArea_ = nullptr;
  QFrame* pageArea_ = nullptr;
  InMicDlg* matrixPage_ = nullptr;
  InDataDlg* inputPage_ = nullptr;
  OutDataDlg* outputPage_ = nullptr;
};

}  // namespace orvane::ui
