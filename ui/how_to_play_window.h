// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The how-to-play window: a picture of the main window in the middle of a game, with arrows and a few
// words on how lines are drawn and boxes won. Opened from the Help menu, closed by a click on it.
#pragma once

#include "ui/picture_window.h"

namespace nokturna {

class HowToPlayWindow : public PictureWindow {
  Q_OBJECT

 public:
  // Client area 6825 x 3945 twips; the picture leaves a thin strip of button face on the right and below.
  static constexpr int kClientWidth = 455;
  static constexpr int kClientHeight = 263;

  HowToPlayWindow();
};

}  // namespace nokturna
