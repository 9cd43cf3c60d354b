#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""A short game against the computer, played by keyboard alone through the desktop's screen reader.

    spoken_game.py PROGRAM [LOG_FOLDER]

Starts a desktop of its own without a screen: a virtual X server, a session bus, the accessibility bus, a
window manager, a sound server with one silent output, the speech server (espeak-ng) and the screen reader
Orca, whose debug log records every utterance. Then starts PROGRAM with Qt's accessibility switched on and
plays a whole game against the computer: F10 and Enter twice for "Play, boy !!", then N (the next free line)
and Space until the winner is told. Passes when the screen reader said a claim of the player, a move of the
computer, a square won with the score after it, and the end with the winner and a final score of 49
squares; the menus read as menus, never as the board. Every step waits for what the screen reader says, up
to a generous limit. Everything it started is ended by its process id; the logs stay in LOG_FOLDER.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PATIENCE_S = 60  # how long any one step may take before it counts as a failure
GAME_PATIENCE_S = 900  # the whole game

program = os.path.abspath(sys.argv[1])
logs = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="nokturna-spoken-")
os.makedirs(logs, exist_ok=True)
home = tempfile.mkdtemp(prefix="nokturna-spoken-home-")
runtime = os.path.join(home, "run")
os.makedirs(runtime, mode=0o700)
orca_log = os.path.join(logs, "orca-debug.out")

started = []  # (name, process), in the order started


def fail(message):
    print("spoken game: FAILED: " + message, file=sys.stderr)
    print("spoken game: logs in " + logs, file=sys.stderr)
    raise SystemExit(1)


def wait_until(condition, what, patience=PATIENCE_S):
    deadline = time.monotonic() + patience
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            fail("gave up waiting for " + what)
        time.sleep(0.05)


def free_display():
    for number in range(250, 300):
        if not os.path.exists("/tmp/.X11-unix/X%d" % number) and not os.path.exists("/tmp/.X%d-lock" % number):
            return number
    fail("no free X display number")


display = free_display()
env = dict(os.environ)
for name in ("SESSION_MANAGER", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
    env.pop(name, None)
env.update({
    "DISPLAY": ":%d" % display,
    "XDG_RUNTIME_DIR": runtime,
    "HOME": home,
    "XDG_CONFIG_HOME": os.path.join(home, ".config"),
    "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + os.path.join(runtime, "bus"),
    "PULSE_SERVER": "unix:" + os.path.join(runtime, "pulse", "native"),
    "NO_AT_BRIDGE": "0",
})


def start(name, *args, extra_env=None):
    out = open(os.path.join(logs, name + ".out"), "w")
    process = subprocess.Popen(list(args), stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                               env=dict(env, **(extra_env or {})))
    started.append((name, process))
    return process


def succeeds(*args):
    return subprocess.run(list(args), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def stop_everything():
    for name, process in reversed(started):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()  # Orca sometimes ignores SIGTERM
                process.wait()


# --- what the screen reader said ----------------------------------------------------------------------

SPEECH = re.compile(r"^\d\d:\d\d:\d\d\.\d+ - SPEECH OUTPUT: '(.*)'\s*(\{.*\}|\[.*\])?\s*$")


def utterances():
    try:
        with open(orca_log, "rb") as log:
            lines = log.read().decode("utf-8", "replace").splitlines()
    except FileNotFoundError:
        return []
    said = []
    for line in lines:
        match = SPEECH.match(line)
        if match:
            said.append(match.group(1).rstrip())
    return said


def said_since(mark, pattern):
    """The first utterance after the first `mark` ones that matches `pattern`, else None."""
    rx = re.compile(pattern)
    for words in utterances()[mark:]:
        if rx.search(words):
            return words
    return None


def press(*keys):
    for key in keys:
        subprocess.run(["xdotool", "key", key], env=env, check=True)


def press_and_hear(key, pattern, what):
    mark = len(utterances())
    press(key)
    return wait_until(lambda: said_since(mark, pattern), what)


# --- the desktop ----------------------------------------------------------------------------------------

def start_desktop():
    start("xvfb", "Xvfb", ":%d" % display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp")
    wait_until(lambda: os.path.exists("/tmp/.X11-unix/X%d" % display) and succeeds("xdpyinfo"), "the X server")
    start("dbus", "dbus-daemon", "--session", "--nofork", "--nopidfile",
          "--address=" + env["DBUS_SESSION_BUS_ADDRESS"])
    wait_until(lambda: os.path.exists(os.path.join(runtime, "bus")), "the session bus")
    for key in ("org.gnome.desktop.a11y.applications screen-reader-enabled true",
                "org.gnome.desktop.interface toolkit-accessibility true"):
        succeeds("gsettings", "set", *key.split())
    start("atspi", "/usr/libexec/at-spi-bus-launcher", "--launch-immediately")
    wait_until(lambda: succeeds("dbus-send", "--session", "--dest=org.a11y.Bus", "--print-reply",
                                "/org/a11y/bus", "org.a11y.Bus.GetAddress"), "the accessibility bus")
    start("openbox", "openbox", "--sm-disable")
    wait_until(lambda: succeeds("sh", "-c", "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window"),
               "the window manager")
    # One silent output for the voice; the speech server needs somewhere to play.
    pulse_script = os.path.join(home, "pulse.pa")
    with open(pulse_script, "w") as script:
        script.write("load-module module-native-protocol-unix\n"
                     "load-module module-null-sink sink_name=speech\nset-default-sink speech\n")
    start("pulse", "pulseaudio", "-n", "-F", pulse_script, "--exit-idle-time=-1", "--daemonize=no",
          "--use-pid-file=no")
    wait_until(lambda: succeeds("pactl", "info"), "the sound server")
    speechd = os.path.join(home, "speechd")
    os.makedirs(os.path.join(speechd, "modules"))
    shutil.copy("/etc/speech-dispatcher/modules/espeak-ng.conf", os.path.join(speechd, "modules"))
    with open(os.path.join(speechd, "speechd.conf"), "w") as conf:
        conf.write('LogLevel 3\nLogDir "%s"\nAudioOutputMethod "pulse"\nDefaultModule espeak-ng\n'
                   'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\nDefaultVolume 100\nDefaultRate 0\n'
                   'DefaultLanguage "en"\nSymbolsPreproc "char"\nSymbolsPreprocFile "gender-neutral.dic"\n'
                   'SymbolsPreprocFile "font-variants.dic"\nSymbolsPreprocFile "symbols.dic"\n'
                   'SymbolsPreprocFile "emojis.dic"\nSymbolsPreprocFile "orca.dic"\n'
                   'SymbolsPreprocFile "orca-chars.dic"\nInclude "/etc/speech-dispatcher/clients/*.conf"\n'
                   % logs)
    start("speechd", "speech-dispatcher", "-s", "-t", "0", "-C", speechd, "-L", logs, "-l", "3")
    wait_until(lambda: os.path.exists(os.path.join(runtime, "speech-dispatcher", "speechd.sock")),
               "the speech server")
    # Orca's own launcher, with its debug log written line by line, so that it can be read as it happens.
    with open("/usr/bin/orca") as launcher:
        source = launcher.read()
    unbuffered = source.replace("debug.debugFile = open(args.debug_file, 'w')",
                                "debug.debugFile = open(args.debug_file, 'w', buffering=1)")
    if unbuffered == source:
        fail("could not make Orca's debug log line-buffered (/usr/bin/orca changed?)")
    orca_launch = os.path.join(home, "orca-launch")
    with open(orca_launch, "w") as launch:
        launch.write(unbuffered)
    prefs = os.path.join(home, "orca-prefs")
    os.makedirs(prefs)
    # The system's own Python, which has the accessibility bindings Orca needs.
    start("orca", "/usr/bin/python3", orca_launch, "--debug-file=" + orca_log, "-u", prefs)
    wait_until(lambda: said_since(0, r"^Screen reader on"), "the screen reader")


# --- the game -------------------------------------------------------------------------------------------

CLAIM = r"Player 1: row \d, column \d, (across|down)\."
COMPUTER_MOVE = r"Daviz Edezo: row \d, column \d, (across|down)\."
SQUARE_AND_SCORE = r"Square row \d, column \d\. (Square row \d, column \d\. )?(Player 1|Daviz Edezo) has \d+\."
END = r"(Player 1|Daviz Edezo) wins, (\d+) to (\d+)"
PLAYERS_TURN = r"(Player 1's turn|Player 1 has \d+)\.$"


def play_game():
    start("game", program, extra_env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    # The player brings the game's window to the front, as a click on it would, should the window
    # manager not have given it the keyboard yet.
    window = wait_until(lambda: subprocess.run(["xdotool", "search", "--name", "^Nokturna 1.0$"], env=env,
                                               capture_output=True, text=True).stdout.split(),
                        "the game's window")[0]
    succeeds("xdotool", "windowactivate", "--sync", window)
    wait_until(lambda: said_since(0, r"^Board\."), "the board with the keyboard")
    press_and_hear("F10", r"^Menu\.$", "the menu read out")
    press_and_hear("Return", r"^Play, boy !!$", "the first entry read out")
    press_and_hear("Return", r"^New game, Orang vs Daviz Edezo\. Player 1's turn\.$", "the new game told")

    deadline = time.monotonic() + GAME_PATIENCE_S
    moves = 0
    while not said_since(0, END):
        if time.monotonic() > deadline:
            fail("the game did not end within %d s" % GAME_PATIENCE_S)
        press_and_hear("n", r"^Row \d, column \d, (across|down): free\.$", "the next free line read out")
        mark = len(utterances())
        press("space")
        # The player's claim, then the computer's answer to it (if any), until the turn is the player's
        # again or the game is over. The winner window, as it comes up, breaks off the last claim.
        wait_until(lambda: said_since(mark, CLAIM) or said_since(mark, r"^Wait, Daviz Edezo's turn") or
                   said_since(mark, END), "the claim told")
        wait_until(lambda: said_since(mark, PLAYERS_TURN) or said_since(mark, END), "the player's turn again")
        moves += 1
    print("spoken game: %d moves of the player" % moves)


def check_what_was_said():
    said = utterances()
    with open(os.path.join(logs, "said.txt"), "w") as transcript:
        transcript.write("\n".join(said) + "\n")
    everything = "\n".join(said)
    for pattern, what in ((CLAIM, "a claim of the player"), (COMPUTER_MOVE, "a move of the computer"),
                          (SQUARE_AND_SCORE, "a square won and the score")):
        if not re.search(pattern, everything):
            fail("nothing said of " + what)
    end = re.search(END, everything)
    if int(end.group(2)) + int(end.group(3)) != 49 or int(end.group(2)) < int(end.group(3)):
        fail("the end said a wrong score: " + end.group(0))
    if any(re.match(r"^Row \d, column \d", words) and i > 0 and said[i - 1] == "Menu." for i, words in
           enumerate(said)):
        fail("the board was read while the menu was open")
    print("spoken game: passed; the end: " + end.group(0))


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        start_desktop()
        play_game()
        check_what_was_said()
    finally:
        stop_everything()
        shutil.rmtree(home, ignore_errors=True)


main()
