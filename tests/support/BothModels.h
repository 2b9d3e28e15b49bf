#pragma once

// Tests that run once for each product model: value-parameterised over the
// model code and instantiated with
//   INSTANTIATE_TEST_SUITE_P(Models, Suite, ::testing::Values(7304, 736), BothModels::name);
// so each case is named after its model ("Model7304", "Model736").

#include <gtest/gtest.h>

#include <string>

#include "model/ProductVariant.h"

namespace orvane {

class BothModels : public ::testing::TestWithParam<int> {
 protected:
  const ProductVariant& variant() const { return ProductVariant::forModel(GetParam()); }
  // The model whose firmware and files this one refuses.
  const ProductVariant& otherVariant() const {
    return ProductVariant::forModel(GetParam() == 736 ? 7304 : 736);
  }
  std::string modelText() const { return std::to_string(GetParam()); }

 public:
  static std::string name(const ::testing::TestParamInfo<int>& info) {
    return "Model" + std::to_string(info.param);
  }
};

}  // namespace orvane
