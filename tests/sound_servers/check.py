#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The game against real sound servers: does its sound come back, does it live on, does it still play?

usage: check.py PROGRAM

Each run starts the real game (PROGRAM, e.g. build/nokturna) under a virtual display, against a private
PipeWire stack or PulseAudio server of its own with one null sink, through one of SDL's drivers, records
the sink's monitor, and does to the server what a desktop does to it:

  pw-restart   the PipeWire stack (pipewire, wireplumber, pipewire-pulse) restarted while the song plays
  pw-sink      the stack's only sink removed while the song plays, and added again 2 s later
  pw-late      the stack started 4 s after the game's window
  pw-nosink    the stack up without any sink when the game starts; a sink added 4 s after the window
  pa-restart   the PulseAudio server restarted while the song plays
  pa-sink      its only sink unloaded while the song plays, and loaded again 2 s later
  pa-nosink    the server up without any sink when the game starts; a sink loaded 4 s after the window
  pa-back-nosink  the server restarted while the song plays, without any sink; a sink loaded 2 s later
  hang-pw      the stack stopped dead (SIGSTOP) while the song plays, then the game quit
  hang-pa      the same with the PulseAudio server
  crash-segv   the game's sound program (nokturna-sound) crashes (SIGSEGV) while the song plays, on a
               healthy PipeWire stack; the game is quit by its menu once the sound is back
  crash-abort  the same with SIGABRT
  stuck        the sound program stopped dead (SIGSTOP) while the song plays: the game must notice it
               fell silent, replace it and play on; then quit by its menu
  hang-sound   the sound program stopped dead (SIGSTOP) while the song plays, then the game quit at once

For all but the hung servers: the seconds from the moment the server (or sink) is back, as a client sees it
(for the sound program's faults: from the signal, once the sound has gone quiet), to the first 50 ms of the
recording above -50 dBFS; whether the game still runs; whether it still takes a move
(the cursor shown, Space, the claimed line on the board). Goal: sound within 3 s, alive, the move shown
within a second. For the hung server the game is quit by its menu and by its close button: the time from
the confirming key (or the close request) until its process is gone, and whether any process it started
is left. Goal: under 200 ms, nothing left.

Every case runs with each SDL driver in NOKTURNA_SOUND_SERVER_DRIVERS (default "pulseaudio pipewire";
"default" leaves SDL its own order). SDL's pipewire driver has nothing to talk to on a PulseAudio server:
those runs are listed as not applicable.

  NOKTURNA_SOUND_SERVER_CASES      runs to do, e.g. "pw-restart pa-nosink/pulseaudio hang-pa/pulseaudio/menu
                                   pw-*" (default: all)
  NOKTURNA_SOUND_SERVER_DRIVERS    SDL drivers to try (default "pulseaudio pipewire")
  NOKTURNA_SOUND_SERVER_WAIT       seconds to wait for the sound to come back (default 20)
  NOKTURNA_SOUND_SERVER_HANG_WAIT  seconds to wait for the quitting game's process to go (default 10)
  NOKTURNA_SOUND_SERVER_LOGS       folder for the servers', recorders' and game's output (default: a
                                   folder sound-servers/ beside PROGRAM)

Exit status: 0 when every run met its goal, 1 when one missed it, 2 when the check could not do a run (a
server that would not start, say): then its table says so.
"""

import os
import signal
import sys
import time
import traceback

sys.dont_write_bytecode = True  # nothing of the check's own lands in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import processes  # noqa: E402
from game import MOVE_SHOWS_WITHIN, Game  # noqa: E402
from level_meter import LevelMeter  # noqa: E402
from servers import NotReady, PipeWireStack, PulseAudioServer, Session  # noqa: E402

SOUND_BACK_WITHIN = 3.0
GONE_WITHIN = 0.2
# How long a healthy server's song may take to be heard once the window is up.
FIRST_SOUND_WITHIN = 15.0
# How long the server stays away: what a player meets when a server restarts or an output is swapped.
SINK_AWAY = 2.0
LATE_BY = 4.0
# The server hangs this long before the player quits: enough for the game's sound to run into it.
HUNG_BEFORE_QUIT = 1.0
# A game still there when its server hangs: how long it is given once the server goes on.
RESUMED_WAIT = 10.0

RECOVERY_CASES = [
    # name, server, what happens, server at the game's start, its sink then, the fault
    ("pw-restart", PipeWireStack, "PipeWire stack restarted", True, True, "restart"),
    ("pw-sink", PipeWireStack, "its only sink removed and re-added", True, True, "sink"),
    ("pw-late", PipeWireStack, "stack started after the game", False, False, "late"),
    ("pw-nosink", PipeWireStack, "no sink at the start, one added", True, False, "add-sink"),
    ("pa-restart", PulseAudioServer, "PulseAudio restarted", True, True, "restart"),
    ("pa-sink", PulseAudioServer, "its only sink unloaded and reloaded", True, True, "sink"),
    ("pa-nosink", PulseAudioServer, "no sink at the start, one loaded", True, False, "add-sink"),
    ("pa-back-nosink", PulseAudioServer, "restarted without a sink, one loaded", True, True, "restart-nosink"),
]
HANG_CASES = [
    ("hang-pw", PipeWireStack, "PipeWire stack hung (SIGSTOP)"),
    ("hang-pa", PulseAudioServer, "PulseAudio hung (SIGSTOP)"),
    ("hang-sound", PipeWireStack, "the sound program hung (SIGSTOP)"),
]
FAULT_CASES = [
    # name, what happens, the signal to the sound program
    ("crash-segv", "the sound program crashed (SIGSEGV)", signal.SIGSEGV),
    ("crash-abort", "the sound program aborted (SIGABRT)", signal.SIGABRT),
    ("stuck", "the sound program stopped dead (SIGSTOP)", signal.SIGSTOP),
]
# A fault case's song goes quiet within this once the sound program has been hit.
QUIET_WITHIN = 3.0
QUIT_WAYS = ["menu", "close"]


def setting(name, default):
    return os.environ.get("NOKTURNA_SOUND_SERVER_" + name, default)


class Xvfb:
    def __init__(self, log_dir):
        read_end, write_end = os.pipe()
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin")}
        processes.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                        env, os.path.join(log_dir, "xvfb.log"), pass_fds=(write_end,))
        os.close(write_end)
        # The server writes its display's number once it takes clients.
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                raise NotReady("Xvfb did not start (see %s)" % os.path.join(log_dir, "xvfb.log"))
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()


class Run:
    def __init__(self, name, driver, what, quit_way=None):
        self.name, self.driver, self.what, self.quit_way = name, driver, what, quit_way
        self.id = "/".join(x for x in (name, driver, quit_way) if x)
        self.not_applicable = None
        self.rig_error = None
        self.notes = []
        # recovery
        self.heard_before = None
        self.sound_back = None
        self.game_end = None
        self.move = None
        # shutdown
        self.gone_after = None
        self.left = []
        # the sound program's own faults
        self.fault_signal = None
        self.replaced = None

    def met(self):
        if self.not_applicable or self.rig_error:
            return None
        # A game silent on a healthy server before the fault has failed already.
        if self.heard_before is False:
            return False
        quit_met = self.gone_after is not None and self.gone_after < GONE_WITHIN and not self.left
        if self.quit_way:
            return quit_met
        if self.fault_signal is not None and not quit_met:
            return False
        return (self.sound_back is not None
                and self.sound_back <= SOUND_BACK_WITHIN and self.game_end is None
                and self.move is not None and self.move <= MOVE_SHOWS_WITHIN)


def drive_recovery(run, server_class, at_start, sink_at_start, fault, game_args, wait):
    session = Session(os.path.join(game_args["logs"], run.id.replace("/", "-")))
    server = server_class(session)
    meter = LevelMeter()
    game = None
    timeline = []  # (moment, what happened), to say when the game died

    def happened(what):
        timeline.append((time.monotonic(), what))

    def away(seconds):
        time.sleep(seconds)  # how long the server or its sink stays away is the case itself, not a wait

    try:
        session.start_bus()
        if at_start:
            server.start(with_sink=sink_at_start)
            if sink_at_start:
                start_recording(meter, server, session)
        game = Game(game_args["program"], session, game_args["display"], run.driver)
        happened("start")
        if not game.wait_shown():
            if game.alive():
                run.notes.append("no window")
        elif not game.play() and game.alive():
            run.notes.append("no game started by the menu")
        shown = time.monotonic()
        if fault in ("restart", "restart-nosink", "sink"):
            heard = meter.wait_loud(game.started_at, FIRST_SOUND_WITHIN, give_up=lambda: not game.alive())
            run.heard_before = heard is not None
            if heard is None:
                run.notes.append("no sound before the fault")
            happened("the server stopped" if fault != "sink" else "the sink went")
            if fault == "sink":
                server.remove_sink()
                meter.stop()
                away(SINK_AWAY)
                server.add_sink()
            else:
                server.stop()
                meter.stop()
                if fault == "restart":
                    server.start(with_sink=True)
                else:
                    server.start(with_sink=False)
                    happened("the server was back without a sink")
                    away(SINK_AWAY)
                    server.add_sink()
        else:
            away(max(0.0, shown + LATE_BY - time.monotonic()))
            if fault == "late":
                server.start(with_sink=True)
            else:
                server.add_sink()
        back = time.monotonic()
        happened("the sound server was back" if fault in ("restart", "late") else "the sink was back")
        start_recording(meter, server, session)
        loud = meter.wait_loud(back, wait, give_up=lambda: not game.alive())
        run.sound_back = None if loud is None else loud - back
        if not game.alive():
            moment, what = [event for event in timeline if event[0] <= game.exited_at][-1]
            run.game_end = "%s %.2f s after %s" % (game.end(), game.exited_at - moment, what)
        else:
            run.move = game.takes_move()
    except NotReady as error:
        run.rig_error = str(error)
    except Exception as error:  # a fault of the check itself: the run says so, the others go on
        traceback.print_exc()
        run.rig_error = "%s: %s" % (type(error).__name__, error)
    finally:
        if game is not None:
            game.stop()
        meter.stop()
        server.stop()
        session.close()


def drive_fault(run, game_args, wait, hang_wait):
    """The sound program hit while the song plays on a healthy server: the sound back, the game alive and
    playing, and then its exit by the menu."""
    session = Session(os.path.join(game_args["logs"], run.id.replace("/", "-")))
    server = PipeWireStack(session)
    meter = LevelMeter()
    game = None
    try:
        session.start_bus()
        server.start(with_sink=True)
        start_recording(meter, server, session)
        game = Game(game_args["program"], session, game_args["display"], run.driver)
        if not game.wait_shown():
            run.rig_error = "the game did not show its window against a healthy server"
            return
        game.play()
        heard = meter.wait_loud(game.started_at, FIRST_SOUND_WITHIN, give_up=lambda: not game.alive())
        run.heard_before = heard is not None
        sound_program = game.sound_program()
        if heard is None or sound_program is None:
            run.notes.append("no sound before the fault" if heard is None else "no sound program")
            return
        os.kill(sound_program, run.fault_signal)
        hit = time.monotonic()
        # Its sound goes quiet (what was already on its way to the sink plays out), then comes back.
        quiet = meter.wait_quiet(hit, QUIET_WITHIN)
        if quiet is None:
            run.notes.append("the song never went quiet")
        loud = meter.wait_loud(quiet or hit, wait, give_up=lambda: not game.alive())
        run.sound_back = None if loud is None else loud - hit
        successor = game.sound_program()
        run.replaced = successor is not None and successor != sound_program
        if not run.replaced:
            run.notes.append("no fresh sound program")
        if not game.alive():
            run.game_end = "%s %.2f s after the signal" % (game.end(), game.exited_at - hit)
            return
        run.move = game.takes_move()
        asked = game.quit_by_menu()
        if asked is None:
            run.notes.append("the exit question never showed")
        elif game.wait_exit(hang_wait):
            run.gone_after = max(0.0, game.exited_at - asked)
            run.left = game.left_behind()
        else:
            run.notes.append("still running %.0f s after the OK" % hang_wait)
    except NotReady as error:
        run.rig_error = str(error)
    except Exception as error:  # a fault of the check itself: the run says so, the others go on
        traceback.print_exc()
        run.rig_error = "%s: %s" % (type(error).__name__, error)
    finally:
        if game is not None:
            game.stop()
        meter.stop()
        server.stop()
        session.close()


def start_recording(meter, server, session):
    meter.start(server.record_command(), session.env(), session.log("recorder"))
    # The recording grows: the recorder is linked to the sink's monitor and samples arrive.
    if meter.wait_window(time.monotonic(), 10) is None:
        raise NotReady("the recorder got no samples from the sink (see %s)" % session.log("recorder"))


def drive_hang(run, server_class, game_args, hang_wait):
    session = Session(os.path.join(game_args["logs"], run.id.replace("/", "-")))
    server = server_class(session)
    meter = LevelMeter()
    game = None
    try:
        session.start_bus()
        server.start(with_sink=True)
        start_recording(meter, server, session)
        game = Game(game_args["program"], session, game_args["display"], run.driver)
        if not game.wait_shown():
            run.notes.append("no window" + (" (%s)" % game.end() if game.end() else ""))
            run.rig_error = "the game did not show its window against a healthy server"
            return
        game.play()
        heard = meter.wait_loud(game.started_at, FIRST_SOUND_WITHIN, give_up=lambda: not game.alive())
        run.heard_before = heard is not None
        if heard is None:
            run.notes.append("no sound before the hang")
        meter.stop()
        if run.name == "hang-sound":
            stuck = game.sound_program()
            if stuck is None:
                run.notes.append("no sound program")
                return
            os.kill(stuck, signal.SIGSTOP)
            # Quit before the game has noticed and replaced it: the exit must not wait for it.
            time.sleep(HUNG_BEFORE_QUIT / 4)
        else:
            server.hang()
            time.sleep(HUNG_BEFORE_QUIT)  # part of the case: the server has been stuck for a moment
        asked = game.quit_by_menu() if run.quit_way == "menu" else game.close_window()
        if asked is None:
            run.notes.append("the exit question never showed")
            return
        if game.wait_exit(hang_wait):
            run.gone_after = max(0.0, game.exited_at - asked)
        else:
            run.notes.append("still running %.0f s after the %s" % (
                hang_wait, "OK" if run.quit_way == "menu" else "close request"))
            # Whether it waits for the server: woken, the server lets it go, or does not.
            server.resume()
            resumed = time.monotonic()
            if game.wait_exit(RESUMED_WAIT):
                run.notes.append("gone %.2f s after the server went on" % (game.exited_at - resumed))
            else:
                run.notes.append("still running %.0f s after the server went on" % RESUMED_WAIT)
        # What it started lives on only if it outlives the game itself.
        if game.exited_at is not None:
            run.left = game.left_behind()
    except NotReady as error:
        run.rig_error = str(error)
    except Exception as error:  # a fault of the check itself: the run says so, the others go on
        traceback.print_exc()
        run.rig_error = "%s: %s" % (type(error).__name__, error)
    finally:
        server.resume()
        if game is not None:
            game.stop()
        meter.stop()
        server.stop()
        session.close()


def planned_runs():
    drivers = setting("DRIVERS", "pulseaudio pipewire").split()
    wanted = setting("CASES", "").replace(",", " ").split()
    runs = []
    for name, server_class, what, *_ in RECOVERY_CASES:
        for driver in drivers:
            runs.append((Run(name, driver, what), server_class))
    for name, server_class, what in HANG_CASES:
        for driver in drivers:
            for way in QUIT_WAYS:
                runs.append((Run(name, driver, what, way), server_class))
    for name, what, sig in FAULT_CASES:
        for driver in drivers:
            run = Run(name, driver, what)
            run.fault_signal = sig
            runs.append((run, PipeWireStack))
    for run, server_class in runs:
        if driver_unreachable(run.driver, server_class):
            run.not_applicable = "SDL's pipewire driver needs a PipeWire server"
    if wanted:
        runs = [(run, cls) for run, cls in runs if any(chosen(run.id, w) for w in wanted)]
    return runs


def chosen(run_id, wanted):
    """"pw-restart" chooses its runs with every driver, "hang-pa/pulseaudio" both ways of quitting, and
    "pw-*" every PipeWire case."""
    if wanted.endswith("*"):
        return run_id.startswith(wanted[:-1])
    return run_id == wanted or run_id.startswith(wanted + "/")


def driver_unreachable(driver, server_class):
    return driver == "pipewire" and server_class is PulseAudioServer


def seconds(value):
    return "%.2f s" % value


def recovery_row(run):
    if run.not_applicable:
        return [run.name, run.what, run.driver, "n/a", "", "", "n/a: " + run.not_applicable]
    if run.rig_error:
        return [run.name, run.what, run.driver, "", "", "", "CHECK FAILED: " + run.rig_error]
    if run.sound_back is not None:
        back = seconds(run.sound_back)
    elif run.game_end:
        back = "never (game gone)"
    else:
        back = "never within %s s" % setting("WAIT", "20")
    alive = "yes" if run.game_end is None else "no: " + run.game_end
    if run.game_end is not None:
        moves = "no"
    elif run.move is None:
        moves = "no"
    else:
        shown = "%.0f ms" % (run.move * 1000)
        moves = "yes (%s)" % shown if run.move <= MOVE_SHOWS_WITHIN else "late (%s)" % shown
    goal = "met" if run.met() else "MISSED"
    if run.notes:
        goal += " (" + "; ".join(run.notes) + ")"
    return [run.name, run.what, run.driver, back, alive, moves, goal]


def fault_row(run):
    row = recovery_row(run)
    if run.rig_error:
        return row[:6] + ["", ""] + row[6:]
    gone = "%.0f ms" % (run.gone_after * 1000) if run.gone_after is not None else "not gone"
    left = ", ".join("%d %s" % (pid, processes.command_name(pid)) for pid in run.left) or "none"
    if run.gone_after is None:
        left = "-"
    return row[:6] + [gone, left] + row[6:]


def hang_row(run):
    if run.not_applicable:
        return [run.name, run.what, run.driver, run.quit_way, "n/a", "", "n/a: " + run.not_applicable]
    if run.rig_error:
        return [run.name, run.what, run.driver, run.quit_way, "", "", "CHECK FAILED: " + run.rig_error]
    gone = "%.0f ms" % (run.gone_after * 1000) if run.gone_after is not None else "not gone"
    if run.gone_after is None:
        left = "-"
    else:
        left = ", ".join("%d %s" % (pid, processes.command_name(pid)) for pid in run.left) or "none"
    goal = "met" if run.met() else "MISSED"
    if run.notes:
        goal += " (" + "; ".join(run.notes) + ")"
    return [run.name, run.what, run.driver, run.quit_way, gone, left, goal]


def print_table(header, rows):
    if not rows:
        return
    widths = [max(len(str(row[i])) for row in [header] + rows) for i in range(len(header))]
    for row in [header, ["-" * w for w in widths]] + rows:
        print("  ".join(str(cell).ljust(width) for cell, width in zip(row, widths)).rstrip())
    print()


def main():
    if len(sys.argv) != 2 or not os.access(sys.argv[1], os.X_OK):
        print(__doc__, file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    logs = os.path.abspath(setting("LOGS", os.path.join(os.path.dirname(program), "sound-servers")))
    os.makedirs(logs, exist_ok=True)
    wait = float(setting("WAIT", "20"))
    hang_wait = float(setting("HANG_WAIT", "10"))

    # A signal ends the check the orderly way, so every process it started goes with it.
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, lambda number, frame: sys.exit(128 + number))

    runs = planned_runs()
    if not runs:
        print("no run matches NOKTURNA_SOUND_SERVER_CASES=%r" % setting("CASES", ""), file=sys.stderr)
        return 2
    try:
        xvfb = Xvfb(logs)
        game_args = {"program": program, "display": xvfb.display, "logs": logs}
        recovery_cases = {c[0]: c for c in RECOVERY_CASES}
        for run, server_class in runs:
            if run.not_applicable:
                continue
            started = time.monotonic()
            print("-- %s" % run.id, flush=True)
            if run.quit_way:
                drive_hang(run, server_class, game_args, hang_wait)
            elif run.fault_signal is not None:
                drive_fault(run, game_args, wait, hang_wait)
            else:
                _, _, _, at_start, sink_at_start, fault = recovery_cases[run.name]
                drive_recovery(run, server_class, at_start, sink_at_start, fault, game_args, wait)
            verdict = "CHECK FAILED" if run.rig_error else "met" if run.met() else "MISSED"
            print("   %s in %.0f s" % (verdict, time.monotonic() - started), flush=True)
    except NotReady as error:
        print("CHECK FAILED: " + str(error), file=sys.stderr)
        return 2
    finally:
        processes.stop_all()

    print()
    print("Sound back after the server or its sink (goal: within %.0f s, the game alive and taking moves)"
          % SOUND_BACK_WITHIN)
    print_table(["case", "what", "driver", "sound back", "alive", "takes moves", "goal"],
                [recovery_row(run) for run, _ in runs if not run.quit_way and run.fault_signal is None])
    print("The sound program crashed or stopped dead while the song plays (goal: sound back within %.0f s, the game"
          " alive and taking moves, then gone within %.0f ms of its exit, nothing left behind)"
          % (SOUND_BACK_WITHIN, GONE_WITHIN * 1000))
    print_table(["case", "what", "driver", "sound back", "alive", "takes moves", "exit", "left behind", "goal"],
                [fault_row(run) for run, _ in runs if run.fault_signal is not None])
    print("Quitting while the sound server or the sound program hangs (goal: process gone within %.0f ms, "
          "nothing left behind)" % (GONE_WITHIN * 1000))
    print_table(["case", "what", "driver", "quit by", "process gone", "left behind", "goal"],
                [hang_row(run) for run, _ in runs if run.quit_way])
    print("logs: " + logs)

    done = [run for run, _ in runs if not run.not_applicable]
    failed_checks = [run for run in done if run.rig_error]
    missed = [run for run in done if not run.rig_error and not run.met()]
    print("%d passed, %d failed" % (len(done) - len(missed) - len(failed_checks), len(missed) + len(failed_checks)))
    if failed_checks:
        return 2
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
