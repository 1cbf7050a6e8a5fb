// The program's pictures: icon 128, the splash bitmap 142 and the
// Append/Replace bitmap 147, drawn by the program itself.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <cstdint>

/// Resource numbers of the pictures.
enum : int32_t {
  kIconProgram = 128,
  kBitmapSplash = 142,
  kBitmapAppendReplace = 147,
};

/// The icon resource \p id in every size a window may ask for; a null icon
/// for an unknown id.
QIcon LoadIconResource(int32_t id);

/// The bitmap resource \p id at its own size (142: 348 x 226, 147: 38 x 36);
/// a null pixmap for an unknown id.
QPixmap LoadBitmapResource(int32_t id);

/// The size the window system draws icons at in dialogs.
QSize SystemIconSize();
