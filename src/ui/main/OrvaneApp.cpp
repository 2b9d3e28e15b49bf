#include "ui/main/OrvaneApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QPalette>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>

#include "link/ConnectTarget.h"
#include "link/SystemLinks.h"
#include "model/Language.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/OrvaneDlg.h"
#include "ui/main/SystemTransports.h"
#include "ui/widgets/ConsoleLook.h"

namespace orvane::ui {

namespace {

constexpr const char* kProgramFolder = "MusicFile";

// The component-server switches of older installers: nothing to register.
bool isRegistrationSwitch(const QString& arg) {
  if (!arg.startsWith('-') && !arg.startsWith('/')) return false;
  const QString name = arg.mid(1);
  return name.compare("RegServer", Qt::CaseInsensitive) == 0 ||
         name.compare("UnregServer", Qt::CaseInsensitive) == 0;
}

// Once the device is read and the transfer popup has gone, saves a picture
// of the window and ends the program: how a machine without a screen shows
// what the editor looks like.
void screenshotWhenReady(OrvaneDlg& window, const QString& path) {
  QObject::connect(&window.notifier(), &QtNotifier::posted, &window, [&window, path](int message) {
    if (message != static_cast<int>(Message::ChannelDataRead)) return;
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, path, poll] {
      if (!window.isEnabled() || window.transferPopup()->isVisible()) return;
      poll->stop();
      // A moment for the meters to show the device's levels.
      QTimer::singleShot(500, &window, [&window, path] {
        window.grab().save(path);
        std::printf("%s\n", qPrintable(QFileInfo(path).absoluteFilePath()));
        std::fflush(stdout);
        QApplication::quit();
      });
    });
    poll->start(100);
  });
}

}  // namespace

void OrvaneApp::applyConsoleLook(QApplication& app) {
  app.setStyle(QStyleFactory::create("Fusion"));
  QPalette palette;
  palette.setColor(QPalette::Window, QColor(ConsoleLook::kPanel));
  palette.setColor(QPalette::WindowText, QColor(ConsoleLook::kTextOff));
  palette.setColor(QPalette::Base, QColor(ConsoleLook::kGroove));
  palette.setColor(QPalette::AlternateBase, QColor(ConsoleLook::kButtonFace));
  palette.setColor(QPalette::Text, QColor(ConsoleLook::kTextOff));
  palette.setColor(QPalette::Button, QColor(ConsoleLook::kButtonFace));
  palette.setColor(QPalette::ButtonText, QColor(ConsoleLook::kTextOff));
  palette.setColor(QPalette::Highlight, QColor(ConsoleLook::kHighlight));
  palette.setColor(QPalette::HighlightedText, QColor(ConsoleLook::kTextOn));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(ConsoleLook::kTextDisabled));
  palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(ConsoleLook::kTextDisabled));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(ConsoleLook::kTextDisabled));
  app.setPalette(palette);
}

int OrvaneApp::run(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (isRegistrationSwitch(QString::fromLocal8Bit(argv[i]))) return 0;

  QApplication app(argc, argv);
  app.setApplicationName("orvane");
  QCommandLineParser parser;
  parser.setApplicationDescription("Orvane: editor and remote control of the KVS7304 audio matrix processor");
  parser.addHelpOption();
  const QCommandLineOption connectOption(
      "connect", "Connect at start: usb, net:ADDRESS[:PORT] or serial:PORT:ID.", "link");
  const QCommandLineOption screenshotOption("screenshot",
                                            "After the full read, save the window to FILE and quit.", "file");
  parser.addOption(connectOption);
  parser.addOption(screenshotOption);
  parser.process(app);

  std::optional<ConnectTarget> target;
  if (parser.isSet(connectOption)) {
    target = ConnectTarget::parse(parser.value(connectOption).toStdString());
    if (!target) {
      std::fprintf(stderr, "orvane: --connect takes usb, net:ADDRESS[:PORT] or serial:PORT:ID\n");
      return 2;
    }
  }

  // The program always starts in Chinese, whatever the system's locale.
  Language::setFlag(0);
  applyConsoleLook(app);
  QDir().mkpath(kProgramFolder);

  ParameterImage image;
  OrvaneDlg window(image, SystemLinks::attach, SystemTransports::listSerialPorts);
  if (parser.isSet(screenshotOption)) screenshotWhenReady(window, parser.value(screenshotOption));
  // The console uses the whole screen; a window manager keeps it maximised.
  if (const QScreen* screen = window.screen()) window.resize(screen->availableGeometry().size());
  window.showMaximized();
  if (target) {
    QTimer::singleShot(0, &window, [&window, target] {
      window.connectTo(target->link, QString::fromStdString(target->address), target->deviceId);
    });
  }
  return app.exec();
}

}  // namespace orvane::ui
