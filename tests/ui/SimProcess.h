#pragma once

// A running orvane-sim program for the user-interface tests: started with
// the given options on 127.0.0.1 and a free port, stopped (or killed) by the
// test. It simulates the build's default model, as the editor serves it,
// unless the options name another (--model) or another firmware.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace orvane::ui {

class SimProcess {
 public:
  explicit SimProcess(QStringList options = {});
  ~SimProcess();

  bool started() const { return port_ > 0; }
  int port() const { return port_; }
  QString networkTarget() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }
  // The pseudo-terminal of the RS-485 bus, when started with --serial.
  QString serialPath() const { return serialPath_; }
  // Ends the program at once, as a device that loses power.
  void kill();

 private:
  QProcess process_;
  int port_ = 0;
  QString serialPath_;
};

}  // namespace orvane::ui
