#pragma once

// A one-program file for the comparison's tests and pictures: the working
// state of a session with a few values changed.

#include <QDir>
#include <QFile>
#include <utility>
#include <vector>

#include "editor/ProgramComparison.h"
#include "model/ProgramFile.h"
#include "ui/programs/FileChooser.h"

namespace orvane::ui {

using Changes = std::vector<std::pair<const char*, const char*>>;

// The file `name` in `folder` with the model's extension, holding the
// working state of `session` with each path of `changes` set to its value;
// empty when a value is refused or the file cannot be written.
inline QString writeChangedProgram(editor::EditorSession& session, const QDir& folder, const QString& name,
                                   const Changes& changes) {
  const editor::ProgramComparison::Snapshot image = editor::ProgramComparison::workingState(session);
  for (const auto& [path, value] : changes) {
    const auto parsed = control::ParameterPath::parse(path);
    if (!std::holds_alternative<control::ParameterPath>(parsed) ||
        !std::get<control::ParameterPath>(parsed).set(*image, nullptr, value, false).error.empty())
      return {};
  }
  const std::vector<std::uint8_t> bytes = ProgramFile::writeOne(*image, session.variant().modelCode);
  QFile file(folder.filePath(name + extensionOf(ProgramFileKind::OneProgram, session.variant())));
  const auto size = static_cast<qint64>(bytes.size());
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
    return {};
  return file.fileName();
}

}  // namespace orvane::ui
