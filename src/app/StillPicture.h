// The still picture the preview panel shows while nothing plays.
#pragma once

#include <QPixmap>

namespace trovenix {

QPixmap StillPicture(QSize size);

}  // namespace trovenix
