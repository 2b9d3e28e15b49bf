#pragma once

// Bilingual texts as Qt strings.

#include <QString>

#include "model/Language.h"

namespace orvane::ui {

inline QString uiText(const BiText& text) {
  const std::string_view current = text.current();
  return QString::fromUtf8(current.data(), static_cast<qsizetype>(current.size()));
}

}  // namespace orvane::ui
