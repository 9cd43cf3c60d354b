#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Start-up, memory and idle cost of the game against the reference window, under one X server.

Usage: desktop_bench.py GAME REFERENCE FIRST_FRAME FIRST_PAINT_REPORT.so
(DISPLAY must name a running X server, e.g. Xvfb)
Start-up is measured twice, each time alternating the game and the reference:
- as a player sees it: FIRST_FRAME (an X client beside the program) times from just before exec until
  the window is mapped and its first frame drawn into it, with nothing preloaded;
- to the first paint, as before: FIRST_PAINT_REPORT.so, preloaded into both programs alike, reports when
  Qt paints the first widget, before that frame reaches the X server.
Each figure is measured for the game and the reference in the same run, and printed with its ratio.
The game is every process it runs: the program and its sound program (nokturna-sound, beside it, started
once the window shows). Memory is counted over all of them, both as the sum of each process's peak
resident set (VmHWM: a library both map is counted twice) and as the peak of their summed proportional
set size (PSS, sampled: a page shared by the two counts half in each, so the sum is what the game costs
the machine). CPU is counted over all of them too.
"""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

game, reference = sys.argv[1], sys.argv[2]
first_frame, first_paint_hook = os.path.abspath(sys.argv[3]), os.path.abspath(sys.argv[4])
ticks = os.sysconf("SC_CLK_TCK")
env = dict(os.environ, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE="/dev/null")
env.pop("SDL_DISKAUDIODELAY", None)


def start(program, report=False):
    e = dict(env)
    if report:
        e["LD_PRELOAD"] = first_paint_hook
    return subprocess.Popen([program], env=e, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)


def stop(process):
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def first_paint_ms(program):
    begun = time.monotonic_ns()
    process = start(program, report=True)
    line = process.stdout.readline().split()
    stop(process)
    if len(line) != 2 or line[0] != "first-paint":
        raise SystemExit(f"{program}: no first-paint report")
    return (int(line[1]) - begun) / 1e6


def first_frame_ms(program):
    """From exec to the window mapped, and to its first frame drawn."""
    out = subprocess.run([first_frame, program], env=env, capture_output=True, text=True, timeout=60)
    words = out.stdout.split()
    if out.returncode != 0 or len(words) != 4 or words[0] != "mapped" or words[2] != "drawn":
        raise SystemExit(f"{program}: {out.stderr.strip() or 'no first frame'}")
    return float(words[1]), float(words[3])


def status_kb(pid, field):
    with open(f"/proc/{pid}/status") as f:
        for row in f:
            if row.startswith(field + ":"):
                return int(row.split()[1])
    return 0


def stat_fields(pid):
    with open(f"/proc/{pid}/stat") as f:
        return f.read().rsplit(")", 1)[1].split()


def family(pid):
    """The process and all its descendants now alive."""
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                parents[int(entry)] = int(stat_fields(entry)[1])
            except (OSError, IndexError, ValueError):
                pass
    members, grew = {pid}, True
    while grew:
        grew = False
        for child, parent in parents.items():
            if parent in members and child not in members:
                members.add(child)
                grew = True
    return sorted(members)


def cpu_seconds(pid):
    """CPU time of the process and of each descendant alive, with what its reaped children used."""
    total = 0.0
    for member in family(pid):
        try:
            fields = stat_fields(member)
        except OSError:
            continue
        total += sum(int(fields[i]) for i in (11, 12, 13, 14)) / ticks
    return total


def pss_kb(pid):
    try:
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for row in f:
                if row.startswith("Pss:"):
                    return int(row.split()[1])
    except OSError:
        pass
    return 0


def memory(program, span):
    """Sum of the peak resident sets, and the peak of the summed PSS, over `span` seconds."""
    process = start(program)
    peak_pss, hwm = 0, {}
    deadline = time.monotonic() + span
    while time.monotonic() < deadline:
        members = family(process.pid)
        peak_pss = max(peak_pss, sum(pss_kb(member) for member in members))
        for member in members:
            hwm[member] = max(hwm.get(member, 0), status_kb(member, "VmHWM"))
        time.sleep(0.1)
    members = family(process.pid)
    now = sum(status_kb(member, "VmRSS") for member in members)
    stop(process)
    return sum(hwm.values()) / 1024, peak_pss / 1024, now / 1024, len(hwm)


def cpu_share(program, settle, span, environment=None):
    e = dict(env, **(environment or {}))
    process = subprocess.Popen([program], env=e, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(settle)
    before = cpu_seconds(process.pid)
    time.sleep(span)
    used = cpu_seconds(process.pid) - before
    stop(process)
    return 100.0 * used / span


def report(name, ours, ref, unit, goal_ratio=None, goal_text=""):
    ratio = ours / ref if ref else float("inf")
    verdict = ""
    if goal_ratio is not None:
        verdict = " -> PASS" if ratio <= goal_ratio else " -> FAIL"
    print(f"{name}: game {ours:.1f} {unit}, reference {ref:.1f} {unit}, ratio {ratio:.2f}{goal_text}{verdict}")


# Start-up, both ways: alternating the two programs; medians of 20 each (a single start varies by a
# quarter from one to the next on a shared machine).
rounds = 20
first_frame_ms(reference), first_frame_ms(game)  # warm the file cache
frames = {game: [], reference: []}
for _ in range(rounds):
    for program in (reference, game):
        frames[program].append(first_frame_ms(program))
paints = {game: [], reference: []}
for _ in range(rounds):
    for program in (reference, game):
        paints[program].append(first_paint_ms(program))


def median_of(program, which):
    return statistics.median(times[which] for times in frames[program])


report(f"start-up as a player sees it, exec to the first frame drawn (median of {rounds})",
       median_of(game, 1), median_of(reference, 1), "ms", 1.1, " (goal <= 1.1)")
report(f"  exec to the window mapped (median of {rounds})", median_of(game, 0), median_of(reference, 0), "ms")
report(f"start-up to the first paint, as measured before (median of {rounds})",
       statistics.median(paints[game]), statistics.median(paints[reference]), "ms", 1.1, " (goal <= 1.1)")

# Peak memory: the game with its first song playing (SoundFont in), the reference shown.
game_hwm, game_pss, game_now, processes = memory(game, 8)
ref_hwm, ref_pss, _, _ = memory(reference, 3)
report(f"peak memory with music, sum of peak RSS over the game's {processes} processes", game_hwm, ref_hwm, "MiB",
       1.5, " (goal <= 1.5)")
report("peak memory with music, peak of the summed PSS", game_pss, ref_pss, "MiB", 1.5, " (goal <= 1.5)")
print(f"  resident with music, once the song plays: game {game_now:.1f} MiB (all processes)")

# Idle cost over 10 s: with the song playing (the first song starts at load); with nothing sounding (a
# copy of the program with its sound program but no song folder beside it, so the sound device and the
# synthesizer are up but no song ever starts; no game, no clip); and with no sound server at all while the
# song wants to play (SDL's pulseaudio driver, a runtime folder without a server).
song_share = cpu_share(game, 4, 10)
with tempfile.TemporaryDirectory() as folder:
    silent = os.path.join(folder, "nokturna")
    shutil.copy2(game, silent)
    for beside in ("nokturna-sound", "nokturna_sound.so"):  # the sound program, or an older build's module
        if os.path.exists(os.path.join(os.path.dirname(game), beside)):
            shutil.copy2(os.path.join(os.path.dirname(game), beside), folder)
    idle_share = cpu_share(silent, 4, 10)
with tempfile.TemporaryDirectory() as runtime:
    os.chmod(runtime, 0o700)
    serverless_share = cpu_share(game, 4, 10, {"SDL_AUDIODRIVER": "pulseaudio", "XDG_RUNTIME_DIR": runtime,
                                                "PULSE_SERVER": f"unix:{runtime}/none"})
ref_share = cpu_share(reference, 4, 10)
print(f"idle cost, nothing sounding: {idle_share:.2f}% of a core (reference window {ref_share:.2f}%; goal < 0.5%)"
      + (" -> PASS" if idle_share < 0.5 else " -> FAIL"))
print(f"idle cost, song playing: {song_share:.2f}% of a core (goal < 3%)" + (" -> PASS" if song_share < 3 else " -> FAIL"))
print(f"idle cost, no sound server, a song wanted: {serverless_share:.2f}% of a core (goal < 1%)"
      + (" -> PASS" if serverless_share < 1 else " -> FAIL"))
