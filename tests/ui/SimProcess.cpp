#include "SimProcess.h"

#include "model/ProductVariant.h"

namespace orvane::ui {

namespace {

// The firmware of the product this editor is built for, which the editor
// accepts.
QString ownFirmware() {
  const ProductVariant& variant = ProductVariant::current();
  const auto text = [](std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
  };
  return text(variant.firmwarePrefix) + text(variant.softwareVersion);
}

}  // namespace

SimProcess::SimProcess(QStringList options) {
  // A --firmware among `options` comes later and wins.
  options = QStringList{"--firmware", ownFirmware()} + options;
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
