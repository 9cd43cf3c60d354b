// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/game_events.h"

class QWidget;

namespace nokturna {

// Asks a question in a modal message box without an icon, on the box or on its buttons: the exact prompt
// and title, OK (default) and Cancel or Yes (default) and No. True only for OK or Yes; Esc and the close
// button answer no.
bool ConfirmQuestion(QWidget* parent, const Question& question);

}  // namespace nokturna
