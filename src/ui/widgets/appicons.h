#pragma once
// The program's pictures: its icon and the small icons of menus and buttons,
// drawn once from the style's standard icons or painted here.

#include <QIcon>
#include <QPixmap>

enum class AppIcon { Settings, Compute, Month, Slip, Quit, Help, Index, Search, About };

QIcon appIcon(AppIcon which);
// The program's own icon, a square of the given size.
QPixmap programPixmap(int size);
