// SPDX-License-Identifier: MIT
// The program's artwork: item and page icons and the maintenance pictures, drawn as SVG,
// compiled in, found by name without regard to letter case, and rendered crisp at the screen's
// device pixel ratio.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <string>
#include <string_view>

namespace ps::ui {

/// Size of an item glyph in logical pixels.
inline constexpr QSize kGlyphSize{46, 38};
/// The icon shown for a name that has none.
inline constexpr const char* kFallbackIcon = "100_Settings";
/// The program's own icon.
inline constexpr const char* kProgramIcon = "PROGRAM";

/// Resource path of the icon named `name` (any letter case), or an empty text.
QString IconResourcePath(std::string_view name);
/// True when an icon of that name is compiled in.
bool HasIcon(std::string_view name);
/// The icon named `name`, or the fallback icon, with pixmaps for 100 %, 200 % and the screen's
/// ratio so it stays sharp on every screen.
QIcon ItemIcon(std::string_view name, QSize logicalSize = kGlyphSize);
/// One rendering of the icon (or the fallback) at `devicePixelRatio`.
QPixmap ItemPixmap(std::string_view name, qreal devicePixelRatio, QSize logicalSize = kGlyphSize);
/// Every compiled-in icon name, upper case, sorted.
QStringList IconNames();

/// Size of a maintenance picture (page and step pictures) in logical pixels.
inline constexpr QSize kPictureSize{346, 194};
/// Resource path of the picture named `name` ("Img_Clean", "ChangeheadA3"; any letter case),
/// or an empty text.
QString PictureResourcePath(std::string_view name);
bool HasPicture(std::string_view name);
/// The picture fitted into `logicalSize` (its proportions kept), at `devicePixelRatio`; an
/// empty pixmap when there is none by that name.
QPixmap PicturePixmap(std::string_view name, qreal devicePixelRatio,
                      QSize logicalSize = kPictureSize);
/// Every compiled-in picture name, upper case, sorted.
QStringList PictureNames();

}  // namespace ps::ui
