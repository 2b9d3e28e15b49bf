#pragma once

// The bilingual texts every window shows about the files it writes.

#include <QString>

#include "model/Language.h"
#include "platform/AtomicFile.h"
#include "ui/common/UiText.h"

namespace orvane::ui::FileTexts {

inline constexpr BiText kReplaceQuestion{"%1 already exists.\nDo you want to replace it?",
                                         "%1 已存在。\n要替换它吗？"};
inline constexpr BiText kEarlierKept{"The file that was there is kept unchanged.", "原有的文件保持不变。"};

// `message` about a file that was not written, with a line saying that the
// file that was there is kept when there was one.
inline QString notWritten(const QString& message, const AtomicFile::Result& result) {
  return result.earlierKept ? message + QLatin1Char('\n') + uiText(kEarlierKept) : message;
}

}  // namespace orvane::ui::FileTexts
