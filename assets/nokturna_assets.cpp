// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "assets/nokturna_assets.h"

namespace nokturna::assets {

QString picturePath(const char* name) {
  const QString picture = QString::fromLatin1(name);
  return QStringLiteral(":/pictures/%1.%2").arg(picture, picture == u"board" ? u"bmp" : u"png");
}

}  // namespace nokturna::assets
