#pragma once

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QStringList>
#include <QTimer>

namespace orvane::ui {

// Answers the desktop's save dialogs as a user does: each time one opens,
// the next name is typed into it (a name in `folder`) and accepted; once no
// name is left, the dialog is cancelled. The tests use Qt's own dialog,
// never the desktop's native one, so it can be driven.
class SaveDialogDriver : public QObject {
 public:
  SaveDialogDriver(const QString& folder, QStringList names) : folder_(folder), names_(std::move(names)) {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    connect(&timer_, &QTimer::timeout, this, &SaveDialogDriver::answer);
    timer_.start(10);
  }
  // How many dialogs were answered.
  int shown() const { return shown_; }
  // The name each dialog proposed before it was answered.
  const QStringList& proposed() const { return proposed_; }

 private:
  void answer() {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || dialog->property("answered").toBool()) return;
    dialog->setProperty("answered", true);
    ++shown_;
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    proposed_ << name->text();
    if (names_.isEmpty()) {
      dialog->reject();
      return;
    }
    // Typed into the name field, as selectFile() leaves a focused field alone.
    name->setText(QDir(folder_).filePath(names_.takeFirst()));
    QMetaObject::invokeMethod(dialog, "accept");  // as the dialog's Save button does
  }

  QString folder_;
  QStringList names_;
  QStringList proposed_;
  QTimer timer_;
  int shown_ = 0;
};

}  // namespace orvane::ui
