#include "ui/compare/ProgramReader.h"

#include "editor/ProgramComparison.h"

namespace orvane::ui {

namespace {

// One program crosses even the RS-485 bus in a few seconds; a device that
// has not sent it by then is not going to.
constexpr editor::EditorSession::Seconds kReadWait{30};

}  // namespace

ProgramReader::ProgramReader(editor::EditorSession& session, QObject* parent)
    : QObject(parent), session_(session) {}

ProgramReader::~ProgramReader() {
  if (thread_.joinable()) thread_.join();
}

void ProgramReader::read(int program) {
  if (reading_) return;
  if (thread_.joinable()) thread_.join();
  reading_ = true;
  thread_ = std::thread([this, program] {
    editor::ProgramComparison::Read read =
        editor::ProgramComparison::storedProgram(session_, program, kReadWait);
    Outcome outcome;
    outcome.program = program;
    if (auto* image = std::get_if<editor::ProgramComparison::Snapshot>(&read))
      outcome.image = std::move(*image);
    else
      outcome.error = QString::fromStdString(std::get<std::string>(read));
    // Delivered on the UI thread; dropped if the reader is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this, outcome = std::move(outcome)] {
          reading_ = false;
          emit finished(outcome);
        },
        Qt::QueuedConnection);
  });
}

}  // namespace orvane::ui
