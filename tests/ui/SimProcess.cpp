#include "SimProcess.h"

namespace orvane::ui {

SimProcess::SimProcess(QStringList options) {
  options << "--listen"
          << "127.0.0.1:0";
  process_.start(QStringLiteral(ORVANE_SIM_PATH), options);
  if (!process_.waitForStarted(5000)) return;
  const bool serial = options.contains("--serial");
  while (process_.waitForReadyRead(5000) || process_.canReadLine()) {
    while (process_.canReadLine()) {
      const QString line = QString::fromUtf8(process_.readLine()).trimmed();
      if (line.startsWith("orvane-sim: network ")) port_ = line.section(':', -1).toInt();
      if (line.startsWith("orvane-sim: serial ")) serialPath_ = line.section(' ', -1);
    }
    if (port_ > 0 && (!serial || !serialPath_.isEmpty())) return;
  }
}

SimProcess::~SimProcess() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(5000)) kill();
}

void SimProcess::kill() {
  process_.kill();
  process_.waitForFinished(5000);
}

}  // namespace orvane::ui
