# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Each library makes visible only its own headers, under its folder's name ("engine/game_state.h"): its
# include root is a folder of its own in the build tree that holds links to exactly those headers. A
# library sees another's headers only by linking it, so the layering is the build's to enforce: the rules
# (engine/, opponent/) see no Qt and no window, the windows see the sound only through its ports.
#
#   nokturna_public_headers(<target> <header>...)   headers relative to the current source folder
function(nokturna_public_headers target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/headers/${target})
  foreach(header IN LISTS ARGN)
    get_filename_component(parent ${root}/${folder}/${header} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${folder}/${header} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL INTERFACE_LIBRARY)
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_sources(${target} PRIVATE ${ARGN})
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
