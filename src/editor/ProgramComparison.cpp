#include "editor/ProgramComparison.h"

#include <algorithm>

#include "editor/ParameterOperations.h"
#include "editor/ProgramOperations.h"
#include "model/LockState.h"
#include "model/ProgramFile.h"

namespace orvane::editor::ProgramComparison {

namespace {

// An image whose edited blocks are `record`'s, with the data derived from
// them rebuilt as after a read from the device.
Snapshot fromRecord(const ProgramRecord& record) {
  auto image = std::make_unique<ParameterImage>();
  image->modify([&](ImageData& d) {
    for (Side side : {Side::Input, Side::Output})
      for (int channel = 0; channel < kChannels; ++channel)
        std::ranges::copy(recordBlock(record, side, channel), d.device.block(side, channel).begin());
  });
  image->restoreFromDeviceCopy();
  return image;
}

}  // namespace

Read programFile(const ProductVariant& variant, const std::filesystem::path& path) {
  const std::string shown = "'" + path.string() + "'";
  const auto bytes = ProgramFile::readBytes(path);
  if (!bytes) return "cannot read the file " + shown;
  const auto file = ProgramFile::readOne(*bytes, variant.modelCode);
  if (!file) {
    const bool all = ProgramFile::readAll(*bytes, variant.modelCode) != nullptr;
    return shown + (all ? " is an all-programs file, not one program"
                        : " is not a one-program file of model " + std::to_string(variant.modelCode));
  }
  auto image = std::make_unique<ParameterImage>();
  ProgramFile::applyOne(*image, *file);
  return image;
}

Snapshot workingState(EditorSession& session) {
  auto image = std::make_unique<ParameterImage>();
  const ImageData now = session.image().read([](const ImageData& d) { return d; });
  image->modify([&](ImageData& d) { d = now; });
  return image;
}

Snapshot fromProgramStore(const ParameterImage& image, int program) {
  const ProgramRecord record =
      image.read([&](const ImageData& d) { return d.programs.at(static_cast<std::size_t>(program - 1)); });
  return fromRecord(record);
}

Read storedProgram(EditorSession& session, int program, std::optional<EditorSession::Seconds> wait) {
  if (auto refused = ProgramOperations::linkRefusal(session)) return refused->message;
  if (program < 1 || program > kPrograms) return "program " + std::to_string(program) + " is not 1 to 30";
  if (auto refused =
          ProgramOperations::refusal(session.image(), {{LockFlag::SaveProgram, "reading programs"}}))
    return refused->message;
  if (!session.command().ReadProgram(program)) return "no link to the device";
  if (std::string error = wait ? session.settle(*wait) : session.settle(); !error.empty()) return error;
  return fromProgramStore(session.image(), program);
}

// A value kept by a neighbour's limit (a crossover corner, a shelf's
// frequency) may be taken only once the neighbour has its new value: a
// second pass takes what the first could not.
std::string take(EditorSession& session, const ParameterImage& from,
                 std::span<const control::ParameterPath> paths) {
  std::vector<std::string> refusals(paths.size());
  session.history().record(
      [&] {
        for (int pass = 0; pass < 2; ++pass)
          for (std::size_t i = 0; i < paths.size(); ++i) {
            const control::ParameterPath& path = paths[i];
            const std::string wanted = path.text(from);
            if (path.text(session.image()) == wanted) {
              refusals[i].clear();
              continue;
            }
            if (std::string locked = ParameterOperations::lockRefusal(session, path.name());
                !locked.empty()) {
              refusals[i] = std::move(locked);
              continue;
            }
            const control::SetOutcome outcome = path.set(session.image(), &session.links(), wanted, false);
            refusals[i] = outcome.error.empty() && path.text(session.image()) != wanted
                              ? path.name() + ": " + wanted + " is not taken beside the other values"
                              : outcome.error;
          }
      },
      [] { return std::string(); });
  std::string message;
  for (const std::string& refusal : refusals)
    if (!refusal.empty()) message += (message.empty() ? "" : "\n") + refusal;
  return message;
}

}  // namespace orvane::editor::ProgramComparison
