#include "assets/nokturna_assets.h"

namespace nokturna::assets {

QString soundClipPath(int id) {
  if (id < 1 || id > 4) return {};
  return QStringLiteral(":/sounds/%1.wav").arg(id);
}

QString picturePath(const char* name) {
  const QString picture = QString::fromLatin1(name);
  return QStringLiteral(":/pictures/%1.%2").arg(picture, picture == u"board" ? u"bmp" : u"png");
}

}  // namespace nokturna::assets
