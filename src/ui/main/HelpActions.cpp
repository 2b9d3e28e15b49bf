#include "ui/main/HelpActions.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/main/MainTexts.h"

namespace orvane::ui {

QString HelpActions::helpFile(const ProductVariant& variant) {
  const std::string_view name = Language::isEnglish() ? variant.englishHelp : variant.chineseHelp;
  const QString file = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  const QString program = QCoreApplication::applicationDirPath();
  // The start-up directory, beside the program (a build), or where the
  // installers put them: help beside the program on Windows,
  // <prefix>/share/orvane/help beside <prefix>/bin on Linux.
  for (const QString& folder : {QDir::currentPath(), program, program + QStringLiteral("/help"),
                                program + QStringLiteral("/../share/orvane/help")}) {
    const QFileInfo help(QDir(folder), file);
    if (help.isFile()) return QDir::cleanPath(help.absoluteFilePath());
  }
  return {};
}

void HelpActions::showHelp(QWidget* window, const ProductVariant& variant) {
  const QString file = helpFile(variant);
  if (!file.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(file))) return;
  MessageBoxes::inform(window, MainTexts::kHelpMissing);
}

void HelpActions::showAbout(QWidget* window) {
  QMessageBox::about(window, uiText(MainTexts::kAboutTitle), QStringLiteral("KVS7304 1.0 "));
}

}  // namespace orvane::ui
