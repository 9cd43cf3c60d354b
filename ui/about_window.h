// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The About window: the game's title, version and credits in one picture. Opened from the Help menu,
// closed by a click on it.
#pragma once

#include "ui/picture_window.h"

namespace nokturna {

class AboutWindow : public PictureWindow {
  Q_OBJECT

 public:
  // Client area 5895 x 5085 twips; the picture is one row taller and its last row is cut off.
  static constexpr int kClientWidth = 393;
  static constexpr int kClientHeight = 339;

  AboutWindow();
};

}  // namespace nokturna
