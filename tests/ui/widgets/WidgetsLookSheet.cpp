// A sheet of every console widget in its common states, saved as a picture
// for a human eye to judge (colours, engraving, text fit). Not a test: run
// it after changing how a widget looks, and look at the picture.
//
//   orvane_widgets_look_sheet [FILE]   (default: widgets-look.png beside it)

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QVBoxLayout>
#include <cstdio>

#include "ui/widgets/ConsoleLook.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/GradientProgressCtrl.h"
#include "ui/widgets/SLamp.h"
#include "ui/widgets/ToggleButton.h"

using namespace orvane::ui;

namespace {

Fader* gainFader(int value) {
  auto* fader = new Fader;
  fader->setRange(0, 420);
  fader->setTickInterval(30);
  fader->setMarkValue(300);  // 0 dB
  fader->setValue(value);
  return fader;
}

ToggleButton* toggle(const QString& text, QRgb on, bool checked) {
  auto* button = new ToggleButton(text);
  button->setOnColor(QColor(on));
  button->setChecked(checked);
  return button;
}

// Every control in its common states, side by side, on the console panel.
std::unique_ptr<QWidget> buildSheet() {
  auto sheet = std::make_unique<QWidget>();
  QPalette palette = sheet->palette();
  palette.setColor(QPalette::Window, QColor(ConsoleLook::kPanel));
  palette.setColor(QPalette::WindowText, QColor(ConsoleLook::kTextOff));
  sheet->setPalette(palette);
  sheet->setAutoFillBackground(true);
  auto* row = new QHBoxLayout(sheet.get());

  const std::array<std::pair<SLamp::Layout, int>, 4> meters{{{SLamp::Layout::Input, 0x25},
                                                             {SLamp::Layout::Input, 0x7F},
                                                             {SLamp::Layout::Output, 0x25},
                                                             {SLamp::Layout::Output, 0x13}}};
  for (const auto& [layout, level] : meters) {
    auto* meter = new SLamp(layout);
    if (layout == SLamp::Layout::Input) {
      meter->showInputLevel(static_cast<std::uint8_t>(level));
    } else {
      meter->showOutputLevel(static_cast<std::uint8_t>(level));
    }
    row->addWidget(meter);
  }

  row->addWidget(gainFader(300));
  auto* selected = gainFader(240);
  selected->setHighlighted(true);
  row->addWidget(selected);
  auto* locked = gainFader(100);
  locked->setLocked(true);
  row->addWidget(locked);
  auto* master = new Fader;
  master->setRange(0, 720);
  master->setTickInterval(60);
  master->setMarkValue(600);
  master->setValue(600);
  row->addWidget(master);
  auto* disabled = gainFader(380);
  disabled->setEnabled(false);
  row->addWidget(disabled);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(toggle(QStringLiteral("Mute"), ConsoleLook::kOnGreen, true));
  buttons->addWidget(toggle(QStringLiteral("Mute"), ConsoleLook::kOnGreen, false));
  buttons->addWidget(toggle(QStringLiteral("Curve"), ConsoleLook::kOnAmber, true));
  auto* highlighted = toggle(QStringLiteral("Curve"), ConsoleLook::kOnAmber, false);
  highlighted->setHighlighted(true);
  buttons->addWidget(highlighted);
  buttons->addWidget(toggle(QStringLiteral("静音"), ConsoleLook::kOnGreen, true));
  buttons->addWidget(toggle(QStringLiteral("Anti-Feedback"), ConsoleLook::kOnRed, true));
  auto* off = toggle(QStringLiteral("Mute"), ConsoleLook::kOnGreen, true);
  off->setEnabled(false);
  buttons->addWidget(off);
  buttons->addStretch();
  row->addLayout(buttons);

  auto* right = new QVBoxLayout;
  auto* grid = new QGridLayout;
  grid->setSpacing(2);
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      auto* crosspoint = toggle(QString(), ConsoleLook::kOnOrange, i == j || (i + 3) % 8 == j);
      crosspoint->setHighlighted(i == 2);
      grid->addWidget(crosspoint, i, j);
    }
  }
  right->addLayout(grid);
  auto* across = gainFader(330);
  across->setOrientation(Qt::Horizontal);
  right->addWidget(across);
  auto* progress = new GradientProgressCtrl;
  progress->setPosition(60);
  progress->setShowPercentage(true);
  right->addWidget(progress);
  auto* empty = new GradientProgressCtrl;
  empty->setBackgroundColor(QColor(ConsoleLook::kGroove));
  right->addWidget(empty);
  right->addStretch();
  row->addLayout(right);

  auto* vertical = new GradientProgressCtrl;
  vertical->setOrientation(Qt::Vertical);
  vertical->setBackgroundColor(QColor(ConsoleLook::kGroove));
  vertical->setPosition(35);
  row->addWidget(vertical);

  sheet->resize(720, 260);
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const auto sheet = buildSheet();
  sheet->show();
  QApplication::processEvents();
  const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                : QDir(QCoreApplication::applicationDirPath()).filePath("widgets-look.png");
  if (!sheet->grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return 1;
  }
  std::printf("%s\n", qPrintable(path));
  return 0;
}
