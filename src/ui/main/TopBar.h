#pragma once

// The tool bar of the main window with its status fields: help (with the
// About entry), programs, device ID, settings, lock, report and compare,
// the link button, the language button, undo and redo, and the program
// name, program number and link fields.

#include <QWidget>
#include <array>

#include "model/ParameterImage.h"
#include "ui/common/ConnectionChoices.h"
#include "ui/widgets/WindowPart.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace orvane::ui {

class TopBar : public QWidget, public WindowPart {
  Q_OBJECT

 public:
  enum StatusField { kNameField = 0, kNumberField = 1, kLinkField = 2 };
  // What the status fields show: no link, the device's current program,
  // or settings loaded from a program file.
  enum class Status { Offline, DeviceProgram, ProgramFile };

  TopBar(ParameterImage& image, const ConnectionChoices& choices, QWidget* parent = nullptr);

  void showStatus(Status status);
  void showLinkState(bool connected);
  // The help and tool buttons, which the matrix mixer page hides.
  void showTools(bool shown);
  QString statusText(int field) const;

  QPushButton* linkButton() const { return linkButton_; }
  QPushButton* languageButton() const { return languageButton_; }
  // The Undo and Redo buttons show these actions: their text, tool tip and
  // whether they can be used.
  void showHistoryActions(QAction* undo, QAction* redo);
  QToolButton* undoButton() const { return undoButton_; }
  QToolButton* redoButton() const { return redoButton_; }

  void refreshFromImage() override;
  void applyLanguage() override;

 signals:
  void helpClicked();
  void aboutClicked();
  void deviceIdClicked();
  void settingClicked();
  void lockClicked();
  void programsClicked();
  void reportClicked();
  void compareClicked();
  void linkClicked();
  void languageClicked();

 private:
  void buildStatusFields();
  void addTool(std::size_t tool, const char* name, void (TopBar::*clicked)());

  ParameterImage& image_;
  const ConnectionChoices& choices_;
  QToolButton* helpButton_ = nullptr;
  // Programs, device ID, settings, lock, report, compare.
  std::array<QPushButton*, 6> toolButtons_{};
  QPushButton* linkButton_ = nullptr;
  QPushButton* languageButton_ = nullptr;
  QToolButton* undoButton_ = nullptr;
  QToolButton* redoButton_ = nullptr;
  std::array<QLabel*, 3> statusLabels_{};
  std::array<QLineEdit*, 3> statusFields_{};
};

}  // namespace orvane::ui
