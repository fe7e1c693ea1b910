#pragma once
// The program's pictures: its icon and the small icons of menus and buttons,
// the style's standard icons, read when first drawn, or painted here.

#include <QIcon>
#include <QPixmap>

enum class AppIcon { Settings, Compute, Month, Slip, Quit, Help, Index, Search, About, Reset, Ok, Cancel };
constexpr AppIcon LastAppIcon = AppIcon::Cancel;

QIcon appIcon(AppIcon which);
// The program's own icon, a square of the given size.
QPixmap programPixmap(int size);
