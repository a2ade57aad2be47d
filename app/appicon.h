// SPDX-License-Identifier: MIT
#pragma once
#include <QIcon>
#include <QImage>

namespace velmix {
// The program's icon at one size: the start-up gradient in a rounded tile
// with a margin, as desktop icons are, with the colour points' marks below
// from 24 pixels on. Needs no display (the build draws the installed icons).
QImage AppIconImage(int size);
// Every size the desktop asks for.
QIcon AppIcon();
} // namespace velmix
