#include "model/ProductVariant.h"

namespace orvane {

namespace {

// Set by the build (ORVANE_MODEL): the default of the packaged programs.
constexpr int kBuiltModel = ORVANE_MODEL_CODE;

constexpr ProductVariant kModel7304{
    7304,     "J-DV",   "1.10",          "www.orvane.example KVS7304 Version:J-SV1.10",
    ".dia1j", ".dat1j", "J-HelpEN.html", "J-HelpCHS.html"};

constexpr ProductVariant kModel736{736,      "S-DV",   "1.10",          "www.orvane.example Version:S-SV1.10",
                                   ".dia1s", ".dat1s", "S-HelpEN.html", "S-HelpCHS.html"};

}  // namespace

const ProductVariant& ProductVariant::forModel(int modelCode) {
  return modelCode == 736 ? kModel736 : kModel7304;
}

const ProductVariant& ProductVariant::builtDefault() {
  return forModel(kBuiltModel);
}

std::optional<ProductVariant> ProductVariant::named(std::string_view text) {
  if (text == "7304") return kModel7304;
  if (text == "736") return kModel736;
  return std::nullopt;
}

std::string ProductVariant::refusal(std::string_view text) {
  if (text.empty()) return "--model needs a model: " + std::string(kModelChoices);
  return "--model takes " + std::string(kModelChoices) + ", not '" + std::string(text) + "'";
}

}  // namespace orvane
