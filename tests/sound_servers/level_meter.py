# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""What reaches the null sink, as a player would hear it: the level of every 50 ms of its monitor.

A recording command (parec, pw-record) writes 16-bit stereo at 44.1 kHz to a pipe; a thread reads it as
it comes and notes, for each 50 ms window, the moment it arrived and its RMS level. The recorders ask for
a 20 ms latency, so a window is noted within a few tens of milliseconds of being played. A recorder dies
with its server or its sink; the meter is simply started again on the new one, and its windows go on
into the same list.
"""

import array
import math
import threading
import time

import processes

RATE = 44100
CHANNELS = 2
WINDOW_SECONDS = 0.05
WINDOW_BYTES = int(RATE * WINDOW_SECONDS) * CHANNELS * 2
# Loud: a window over -50 dBFS. Silence from a null sink is digital zero; the songs' quietest bars stay
# well above this.
LOUD_DBFS = -50.0


def window_level(samples):
    if not samples:
        return float("-inf")
    total = 0
    for value in samples:
        total += value * value
    rms = math.sqrt(total / len(samples)) / 32768.0
    return 20 * math.log10(rms) if rms > 0 else float("-inf")


class LevelMeter:
    def __init__(self):
        self._lock = threading.Condition()
        self._windows = []  # (arrival time on the monotonic clock, dBFS)
        self._process = None
        self._thread = None

    def start(self, command, env, log_path):
        """Records with `command` (which writes raw samples to its standard output) until stop()."""
        self.stop()
        process = processes.start(command, env, log_path, stdout=processes.subprocess.PIPE)
        self._process = process
        self._thread = threading.Thread(target=self._read, args=(process,), daemon=True)
        self._thread.start()

    def _read(self, process):
        pending = b""
        stream = process.stdout
        while True:
            chunk = stream.read1(WINDOW_BYTES) if hasattr(stream, "read1") else stream.read(WINDOW_BYTES)
            if not chunk:
                break
            pending += chunk
            while len(pending) >= WINDOW_BYTES:
                samples = array.array("h", pending[:WINDOW_BYTES])
                pending = pending[WINDOW_BYTES:]
                level = window_level(samples)
                with self._lock:
                    self._windows.append((time.monotonic(), level))
                    self._lock.notify_all()
        with self._lock:
            self._lock.notify_all()

    def recording(self):
        return processes.alive(self._process)

    def stop(self):
        if self._process is not None:
            processes.stop(self._process, grace=1.0)
            self._thread.join(timeout=2.0)
            self._process = None

    def wait_window(self, after, timeout, loud=False):
        """The arrival time of the first window noted after `after` (the first loud one if `loud`), or None.

        Gives up early when the recorder has died and nothing more can come.
        """
        deadline = time.monotonic() + timeout
        with self._lock:
            while True:
                for arrived, level in self._windows:
                    if arrived >= after and (not loud or level > LOUD_DBFS):
                        return arrived
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self._lock.wait(min(left, 0.1))

    def wait_loud(self, after, timeout, give_up=lambda: False):
        """Like wait_window(loud=True), but also stops waiting as soon as `give_up()` says so."""
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            found = self.wait_window(after, min(left, 0.25), loud=True)
            if found is not None:
                return found
            if give_up():
                # One more look: the last windows may have come in with the reason to give up.
                return self.wait_window(after, 0.0, loud=True)

    def wait_quiet(self, after, timeout):
        """The arrival time of the first window after `after` that is not loud, or None."""
        deadline = time.monotonic() + timeout
        with self._lock:
            while True:
                for arrived, level in self._windows:
                    if arrived >= after and level <= LOUD_DBFS:
                        return arrived
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self._lock.wait(min(left, 0.1))

    def loud_windows(self, start, end):
        with self._lock:
            return sum(1 for arrived, level in self._windows if start <= arrived < end and level > LOUD_DBFS)
