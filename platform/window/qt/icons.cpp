#include "platform/window/qt/icons.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

// The resource file's initializer lives in a static library, so it is pulled in by name.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace platform::window {
namespace {

QString ResourcePath(int number) {
  static const bool registered = (InitIconResources(), true);
  (void)registered;
  return QStringLiteral(":/vz/icons/%1.svg").arg(number);
}

}  // namespace

QPixmap IconPixmap(int number, int size) {
  const QString path = ResourcePath(number);
  if (size <= 0 || !QFile::exists(path)) return {};
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return {};
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  painter.end();
  return QPixmap::fromImage(image);
}

QIcon IconResource(int number) {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128}) {
    const QPixmap pixmap = IconPixmap(number, size);
    if (pixmap.isNull()) return {};
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace platform::window
