// Places a window over the middle of its parent window (of the screen when it
// has none), kept on that screen.
#pragma once

class QWidget;

namespace trovenix {

void CenterOnParent(QWidget& window);

}  // namespace trovenix
