#include "nokturna_assets.h"

namespace nokturna::assets {

QString soundClipPath(int id) {
  if (id < 1 || id > 4) return {};
  return QStringLiteral(":/sounds/%1.wav").arg(id);
}

QString picturePath(const char* name) {
  return QStringLiteral(":/pictures/%1.png").arg(QString::fromLatin1(name));
}

}  // namespace nokturna::assets
