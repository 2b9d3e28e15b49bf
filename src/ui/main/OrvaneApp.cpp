#include "ui/main/OrvaneApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QPalette>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>
#include <string_view>

#include "link/SystemLinks.h"
#include "model/Language.h"
#include "platform/ParseNumber.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/OrvaneDlg.h"
#include "ui/main/SystemTransports.h"
#include "ui/main/WindowParts.h"
#include "ui/programs/FileChooser.h"
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
// what the editor looks like. When the device is not read within `limit`,
// it says so and ends with status 1 instead of waiting for ever (a script
// that runs it would hang on a link that never opens).
void screenshotWhenReady(OrvaneDlg& window, const QString& path, std::chrono::seconds limit) {
  const WindowParts parts(window);
  QTimer::singleShot(limit, &window, [limit] {
    std::fprintf(stderr, "orvane: no device was read within %lld s; no screenshot taken\n",
                 static_cast<long long>(limit.count()));
    QApplication::exit(1);
  });
  QObject::connect(&parts.notifier(), &QtNotifier::posted, &window, [&window, parts, path](int message) {
    if (message != static_cast<int>(Message::ChannelDataRead)) return;
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, parts, path, poll] {
      if (!window.isEnabled() || parts.transferPopup()->isVisible()) return;
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

// "*.dia1j for model 7304, *.dia1s for 736".
QString patternsOf(ProgramFileKind kind) {
  return QStringLiteral("*%1 for model 7304, *%2 for 736")
      .arg(extensionOf(kind, ProductVariant::forModel(7304)),
           extensionOf(kind, ProductVariant::forModel(736)));
}

// The editor's switches and its one argument; the usage text is made from
// them.
struct EditorSwitches {
  QCommandLineParser parser;
  const QCommandLineOption connect{"connect", "Connect at start: usb, net:ADDRESS[:PORT] or serial:PORT:ID.",
                                   "link"};
  const QCommandLineOption model{
      "model",
      QStringLiteral("The model served, 7304 or 736: its firmware, program files, set-up dialog and help "
                     "(default %1).")
          .arg(ProductVariant::builtDefault().modelCode),
      "model"};
  const QCommandLineOption screenshot{"screenshot", "After the full read, save the window to FILE and quit.",
                                      "file"};
  const QCommandLineOption screenshotWait{
      "screenshot-wait",
      QStringLiteral("How long --screenshot waits for the device to be read before it gives up (default "
                     "%1 s).")
          .arg(StartOptions{}.screenshotWait.count()),
      "seconds"};

  EditorSwitches() {
    parser.setApplicationDescription(
        "Orvane: editor and remote control of the KVS7304 audio matrix processor.\n"
        "A device serves one link at a time: on the network a new connection replaces the one\n"
        "before, so connecting takes the device from an orvane-server or editor that holds it.");
    parser.addHelpOption();
    parser.addOption(connect);
    parser.addOption(model);
    parser.addOption(screenshot);
    parser.addOption(screenshotWait);
    parser.addPositionalArgument(
        "file",
        QStringLiteral("A program file to open before any link: one program (%1) becomes the working "
                       "state, all programs (%2) fill the program list.")
            .arg(patternsOf(ProgramFileKind::OneProgram), patternsOf(ProgramFileKind::AllPrograms)),
        "[file]");
  }
};

// Whether the command line asks for the usage text (up to a "--" that ends
// the switches).
bool asksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") return false;
    if (arg == "-h" || arg == "--help" || arg == "--help-all") return true;
  }
  return false;
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

std::variant<StartOptions, QString> OrvaneApp::parse(const QStringList& arguments) {
  EditorSwitches line;
  if (!line.parser.parse(arguments)) return line.parser.errorText();
  StartOptions options;
  if (line.parser.isSet(line.model)) {
    const QString text = line.parser.value(line.model);
    const auto model = ProductVariant::named(text.toStdString());
    if (!model) return QString::fromStdString(ProductVariant::refusal(text.toStdString()));
    options.variant = *model;
  }
  if (line.parser.isSet(line.connect)) {
    const std::string text = line.parser.value(line.connect).toStdString();
    options.target = ConnectTarget::parse(text);
    if (!options.target) return QString::fromStdString("--connect " + ConnectTarget::refusal(text));
  }
  options.screenshot = line.parser.value(line.screenshot);
  if (line.parser.isSet(line.screenshotWait)) {
    const auto seconds = parseNumber(line.parser.value(line.screenshotWait).toStdString(), 1, 3600);
    if (!seconds) return QStringLiteral("--screenshot-wait takes a number of seconds from 1 to 3600");
    options.screenshotWait = std::chrono::seconds(*seconds);
  }
  const QStringList files = line.parser.positionalArguments();
  if (files.size() > 1) return QStringLiteral("one program file at a time");
  if (!files.isEmpty()) options.programFile = files.front();
  return options;
}

void OrvaneApp::start(OrvaneDlg& window, const StartOptions& options) {
  QTimer::singleShot(0, &window, [&window, options] {
    if (!options.programFile.isEmpty()) window.openProgramFile(options.programFile);
    if (const auto& target = options.target)
      window.connectTo(target->link, QString::fromStdString(target->address), target->deviceId);
  });
}

int OrvaneApp::run(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (isRegistrationSwitch(QString::fromLocal8Bit(argv[i]))) return 0;
  if (asksForHelp(argc, argv)) {
    // Answered without a display: a console application is enough. It names
    // the program as installed, not by the path it was started from. Qt
    // prints the text, or shows it in a message box where a Windows program
    // with a window has no console to print to, and ends the program.
    char name[] = "orvane";
    char* nameOnly[] = {name, nullptr};
    int count = 1;
    QCoreApplication console(count, nameOnly);
    EditorSwitches().parser.showHelp(0);
  }

  QApplication app(argc, argv);
  app.setApplicationName("orvane");
  // Desktops match the window to its installed desktop entry and icon.
  app.setDesktopFileName("org.orvane.Orvane");
  const std::variant<StartOptions, QString> parsed = parse(app.arguments());
  if (const auto* error = std::get_if<QString>(&parsed)) {
    std::fprintf(stderr, "orvane: %s\n", qPrintable(*error));
    return 2;
  }
  const StartOptions& options = std::get<StartOptions>(parsed);

  // The program always starts in Chinese, whatever the system's locale.
  Language::setFlag(0);
  applyConsoleLook(app);
  QDir().mkpath(kProgramFolder);

  ParameterImage image;
  OrvaneDlg window(image, SystemLinks::attach, SystemTransports::listSerialPorts, {}, options.variant);
  if (!options.screenshot.isEmpty()) screenshotWhenReady(window, options.screenshot, options.screenshotWait);
  // The console uses the whole screen; a window manager keeps it maximised.
  if (const QScreen* screen = window.screen()) window.resize(screen->availableGeometry().size());
  window.showMaximized();
  start(window, options);
  return app.exec();
}

}  // namespace orvane::ui
