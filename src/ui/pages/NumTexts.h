#pragma once

// The texts of the numeric entry fields.

#include "model/Language.h"

namespace orvane::ui::NumTexts {

// Shown instead of the value while a function lock protects the field.
inline constexpr BiText kLock{"Lock", "锁定"};

// A negative delay or distance was typed; the message reads the same in
// both languages.
inline constexpr BiText kOutOfRange = BiText::englishOnly("Out of Range");

// The program asked a field to show a code outside its range.
inline constexpr BiText kSetPosError{"Set Pos Error!", "设定Pos错误!"};

// The field's context menu. Its paste, like typing, keeps only the
// characters a number can hold.
inline constexpr BiText kUndo{"&Undo", "撤销(&U)"};
inline constexpr BiText kRedo{"&Redo", "重做(&R)"};
inline constexpr BiText kCut{"Cu&t", "剪切(&T)"};
inline constexpr BiText kCopy{"&Copy", "复制(&C)"};
inline constexpr BiText kPaste{"&Paste", "粘贴(&P)"};
inline constexpr BiText kDelete{"Delete", "删除"};
inline constexpr BiText kSelectAll{"Select All", "全选"};

}  // namespace orvane::ui::NumTexts
