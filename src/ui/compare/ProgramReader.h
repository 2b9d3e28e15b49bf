#pragma once

// Reads one program stored in the device on a thread of its own, so the
// window keeps answering while the device sends it; the outcome is handed
// back on the UI thread. A read ends when the device sent the program, when
// the link is lost or after a bounded wait; destroying the reader waits for
// the read in progress, so its owner keeps it alive until finished().

#include <QObject>
#include <QString>
#include <memory>
#include <thread>

#include "model/ParameterImage.h"

namespace orvane::editor {
class EditorSession;
}  // namespace orvane::editor

namespace orvane::ui {

class ProgramReader : public QObject {
  Q_OBJECT

 public:
  // The program as read, or why it was not.
  struct Outcome {
    int program = 0;
    std::shared_ptr<const ParameterImage> image;
    QString error;
  };

  explicit ProgramReader(editor::EditorSession& session, QObject* parent = nullptr);
  ~ProgramReader() override;

  // Starts reading stored program `program` (1..30); ignored while a read
  // is in progress.
  void read(int program);
  bool reading() const { return reading_; }

 signals:
  void finished(const orvane::ui::ProgramReader::Outcome& outcome);

 private:
  editor::EditorSession& session_;
  std::thread thread_;
  bool reading_ = false;
};

}  // namespace orvane::ui
