#pragma once
#include <QIcon>

namespace velmix {
// The program's icon: the start-up gradient in a frame, drawn by the core.
QIcon AppIcon();
} // namespace velmix
