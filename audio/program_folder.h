// SPDX-FileCopyrightText: 2026 The Nokturna team
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The folder of the running program, as the bytes the file system holds: the songs and the sound program
// are found beside it whatever its name is (blanks at its ends, bytes that are no UTF-8), also when the
// program was started through a link.
#pragma once

#include <string>

namespace nokturna {

// The folder that holds the running program's file, without a separator at its end ("/" for the root);
// empty when the kernel does not say.
std::string ProgramFolder();

}  // namespace nokturna
