// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Times a program's start the way a player sees it: from just before exec until its window is mapped,
// and until the first frame is drawn into that window. An X client of its own beside the program, so the
// program carries no hook: it watches the root window for the new top-level window (CreateNotify, then
// MapNotify) and follows what is drawn into it through the DAMAGE extension, which the X server reports
// as it carries out the drawing.
//
// Usage: first_frame PROGRAM [ARGS...]   (DISPLAY names the X server)
// Prints "mapped <ms> drawn <ms>", both from just before exec, then ends the program (SIGTERM).
// The frame counts as drawn once the drawing after the map has covered the window's area, whether the
// program sends it in one piece or in several.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>

namespace {

double NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

int Fail(const char* why, pid_t child) {
  std::fprintf(stderr, "first_frame: %s\n", why);
  if (child > 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: first_frame PROGRAM [ARGS...]\n");
    return 2;
  }
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) return Fail("no X server (DISPLAY)", 0);
  const xcb_query_extension_reply_t* damage = xcb_get_extension_data(x, &xcb_damage_id);
  if (damage == nullptr || !damage->present) return Fail("the X server has no DAMAGE extension", 0);
  free(xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr));
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  // Checked, so the watch is in place before the program starts.
  if (xcb_generic_error_t* error =
          xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask))) {
    free(error);
    return Fail("cannot watch the root window", 0);
  }

  const double begun = NowMs();
  const pid_t child = fork();
  if (child < 0) return Fail("fork failed", 0);
  if (child == 0) {
    execvp(argv[1], argv + 1);
    _exit(127);
  }

  // Every new top-level window gets a damage watch as it is created, before it can be mapped and drawn.
  std::map<xcb_window_t, xcb_damage_damage_t> watched;
  xcb_window_t shown = XCB_NONE;
  double mappedAt = 0;
  long shownArea = 0;
  long drawnArea = 0;
  double drawnAt = 0;
  const int xfd = xcb_get_file_descriptor(x);
  const double deadline = begun + 30000;
  for (;;) {
    xcb_generic_event_t* event = xcb_poll_for_event(x);
    if (event == nullptr) {
      if (xcb_connection_has_error(x)) return Fail("lost the X server", child);
      if (waitpid(child, nullptr, WNOHANG) == child)
        return Fail("the program ended before its first frame", 0);
      const double left = deadline - NowMs();
      if (left <= 0) return Fail("no first frame within 30 s", child);
      pollfd ready{xfd, POLLIN, 0};
      poll(&ready, 1, left < 50 ? static_cast<int>(left) + 1 : 50);
      continue;
    }
    const double at = NowMs();
    const int type = event->response_type & 0x7f;
    if (type == XCB_CREATE_NOTIFY) {
      const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
      if (!created->override_redirect) {
        const xcb_damage_damage_t id = xcb_generate_id(x);
        xcb_damage_create(x, id, created->window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        xcb_flush(x);
        watched[created->window] = id;
      }
    } else if (type == XCB_MAP_NOTIFY) {
      const auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event);
      if (shown == XCB_NONE && !mapped->override_redirect && watched.count(mapped->window) != 0) {
        shown = mapped->window;
        mappedAt = at;
        xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(x, xcb_get_geometry(x, shown), nullptr);
        if (geometry == nullptr) return Fail("the window went before it was measured", child);
        shownArea = long{geometry->width} * geometry->height;
        free(geometry);
      }
    } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
      const auto* drawn = reinterpret_cast<xcb_damage_notify_event_t*>(event);
      if (shown != XCB_NONE && drawn->drawable == shown) {
        drawnArea += long{drawn->area.width} * drawn->area.height;
        if (drawnArea >= shownArea) {
          drawnAt = at;
          free(event);
          break;
        }
      }
    }
    free(event);
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  std::printf("mapped %.2f drawn %.2f\n", mappedAt - begun, drawnAt - begun);
  xcb_disconnect(x);
  return 0;
}
