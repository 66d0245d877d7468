#include "app/app_icon.h"

#include <QPixmap>

namespace quillet {

namespace {

// XPM: width, height, colours, characters per pixel; then the colours and
// the rows. "r" is the summary's dark red.
const char* const kIconPixels[] = {
    "16 16 5 1",
    "  c None",
    ". c #404040",
    "w c #FFFFFF",
    "r c #800000",
    "g c #C0C0C0",
    "  ..........    ",
    "  .wwwwwwww..   ",
    "  .wwwwwwww.w.  ",
    "  .wrrrrrrw.... ",
    "  .wwwwwwwwggw. ",
    "  .wrrrrrrrrrw. ",
    "  .wwwwwwwwwww. ",
    "  .wrrrrrrrrrw. ",
    "  .wwwwwwwwwww. ",
    "  .wrrrrrrrrrw. ",
    "  .wwwwwwwwwww. ",
    "  .wrrrrrrwwww. ",
    "  .wwwwwwwwwww. ",
    "  .wwwwwwwwwww. ",
    "  ............. ",
    "                ",
};

}  // namespace

QIcon AppIcon() { return QIcon(QPixmap(kIconPixels)); }

}  // namespace quillet
