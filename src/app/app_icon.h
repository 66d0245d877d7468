// The window's 16 x 16 icon: a page whose dark red lines stand for the
// summary. Drawn from a small pixel map held in the source; building the
// icon costs one decode of 256 pixels.

#ifndef QUILLET_APP_APP_ICON_H_
#define QUILLET_APP_APP_ICON_H_

#include <QIcon>

namespace quillet {

QIcon AppIcon();

}  // namespace quillet

#endif  // QUILLET_APP_APP_ICON_H_
