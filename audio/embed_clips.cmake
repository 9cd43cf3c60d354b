# SPDX-FileCopyrightText: 2026 The Nokturna team
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Writes the C++ source that holds the game's clips inside the sound program, byte for byte:
#   cmake -DSOUNDS=assets/sounds -DOUTPUT=builtin_clip_images.cpp -P embed_clips.cmake
# 1.wav to 4.wav, in the order of the Clip names (clip.h).
set(source "// Written by audio/embed_clips.cmake from assets/sounds/: do not edit.\n")
string(APPEND source "#include \"audio/builtin_clips.h\"\n\nnamespace nokturna {\nnamespace {\n\n")
set(index 0)
set(table "")
foreach(number 1 2 3 4)
  file(READ "${SOUNDS}/${number}.wav" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Lines of some hundred characters, so that the file stays readable to a diff.
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
  string(APPEND source "constexpr std::uint8_t kClip${index}[${size}] = {\n${bytes}};\n\n")
  string(APPEND table "    std::span<const std::uint8_t>(kClip${index}),\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND source "}  // namespace\n\nstd::span<const std::uint8_t> BuiltInClip(Clip clip) {\n")
string(APPEND source "  static constexpr std::span<const std::uint8_t> kClips[kClipCount] = {\n${table}  };\n")
string(APPEND source "  return kClips[static_cast<int>(clip)];\n}\n\n}  // namespace nokturna\n")
file(WRITE "${OUTPUT}.new" "${source}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
