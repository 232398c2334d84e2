#include "app/QtSnapSound.h"

#include <QFile>

#include "player/FFPlayer.h"

namespace trovenix {

void TQtSnapSound::PlayAndWait() {
  QFile file(QStringLiteral(":/trovenix/sounds/Snap.wav"));
  if (!file.open(QIODevice::ReadOnly)) return;
  const QByteArray wav = file.readAll();
  // Without SDL or a sound device the snapshot is taken silently.
  PlayWavAndWait(reinterpret_cast<const std::uint8_t*>(wav.constData()),
                 static_cast<std::size_t>(wav.size()));
}

}  // namespace trovenix
