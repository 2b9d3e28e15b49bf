// Arbitrary "path=value" lines as orvanectl takes them, set on a fresh
// image without link groups. Messages are single lines; after any set every
// channel parameter a path reaches holds a code of its value form, and what
// a path shows reads back to the same value.

#include "FuzzBytes.h"
#include "ImageChecks.h"
#include "control/ParameterPath.h"
#include "model/ParameterCatalog.h"
#include "model/ParameterImage.h"

using namespace orvane;
using namespace orvane::control;
using namespace orvane::fuzz;

namespace {

bool holdsCode(const ParameterValue& value, int code) {
  switch (value.form) {
    case ParameterValue::Form::Number:
    case ParameterValue::Form::Ratio:
      return code >= value.scale->storedMinimum() && code <= value.scale->storedMaximum();
    case ParameterValue::Form::Choice:
      return value.choices->find(code) != nullptr;
    case ParameterValue::Form::Name:
      break;
  }
  return true;
}

void checkChannelCodes(const ParameterImage& image) {
  for (const CatalogFamily& family : ParameterCatalog::families()) {
    const CatalogEntry& row = *family.entry;
    if (row.store != Store::Channel || row.field == nullptr) continue;
    const int bands = family.pattern.find(".eq.") != std::string::npos ? bandCount(family.side) : 1;
    for (int channel = 0; channel < kChannels; ++channel)
      for (int band = 0; band < bands; ++band)
        require(holdsCode(row.value, image.field(family.side, channel, row.field(family.side, band))),
                "a channel parameter holds a code outside its value form");
  }
}

bool oneLine(const std::string& message) {
  return !message.empty() && message.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzBytes in(data, size);
  const std::string_view line = in.restAsText();
  const std::size_t split = line.find('=');
  const std::string_view pathText = line.substr(0, split);
  const std::string_view value =
      split == std::string_view::npos ? std::string_view() : line.substr(split + 1);

  auto parsed = ParameterPath::parse(pathText);
  if (const auto* message = std::get_if<std::string>(&parsed)) {
    require(oneLine(*message), "a path message that is not one line");
    return 0;
  }
  const ParameterPath& path = std::get<ParameterPath>(parsed);
  require(ParameterPath::parse(path.name()).index() == 0, "a canonical path that does not parse");

  ParameterImage image;
  const std::vector<std::uint8_t> before = imagePicture(image);
  const SetOutcome outcome = path.set(image, nullptr, value, false);
  if (!outcome.error.empty()) {
    require(oneLine(outcome.error), "a value message that is not one line");
    require(imagePicture(image) == before, "a refused value changed the image");
    return 0;
  }
  checkChannelCodes(image);
  checkImageInvariants(image);
  const std::string shown = path.text(image);
  const std::vector<std::uint8_t> after = imagePicture(image);
  const SetOutcome again = path.set(image, nullptr, shown, false);
  require(again.error.empty(), "a shown value is refused");
  require(path.text(image) == shown, "a shown value reads back to another value");
  // A name shows without the blanks around it, which its field keeps.
  const bool isName = path.name().ends_with(".name");
  require(isName || imagePicture(image) == after, "a shown value reads back to another code");
  return 0;
}
