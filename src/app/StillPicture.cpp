#include "app/StillPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace trovenix {

// A film frame with a play mark, drawn rather than stored, so it fits the
// panel at any size.
QPixmap StillPicture(QSize size) {
  QPixmap picture(size);
  picture.fill(Qt::black);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const int h = size.height() * 3 / 5;
  const int w = h * 4 / 3;
  const QRect frame((size.width() - w) / 2, (size.height() - h) / 2, w, h);
  QLinearGradient shade(frame.topLeft(), frame.bottomRight());
  shade.setColorAt(0, QColor(60, 60, 70));
  shade.setColorAt(1, QColor(25, 25, 30));
  painter.setPen(QPen(QColor(120, 120, 130), 2));
  painter.setBrush(shade);
  painter.drawRoundedRect(frame, 6, 6);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(90, 90, 100));
  const int hole = qMax(3, h / 12);
  for (int x = frame.left() + hole; x + hole < frame.right(); x += 2 * hole) {
    painter.drawRect(x, frame.top() + hole / 2, hole, hole);
    painter.drawRect(x, frame.bottom() - hole - hole / 2, hole, hole);
  }
  QPainterPath play;
  const QPointF c = QRectF(frame).center();
  const double r = h / 5.0;
  play.moveTo(c.x() - r * 0.6, c.y() - r);
  play.lineTo(c.x() + r, c.y());
  play.lineTo(c.x() - r * 0.6, c.y() + r);
  play.closeSubpath();
  painter.setBrush(QColor(200, 200, 210));
  painter.drawPath(play);
  return picture;
}

}  // namespace trovenix
