# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The processes the check starts: each in a session of its own, all of them ended when the check ends.

Every process is remembered from its start, so that nothing outlives the check: not on success, not when a
case fails half-way, not when the check itself is interrupted. A process that was stopped (the hung sound
server) is woken first, or it would never see its SIGTERM.
"""

import os
import select
import signal
import subprocess
import time

_started = []


def start(command, env, log_path, stdout=None, pass_fds=()):
    """Starts `command` with exactly `env`, its output (or only its error output) into `log_path`, in the
    runtime folder that `env` names (where a crash's core file would go with it)."""
    log = open(log_path, "ab")
    try:
        process = subprocess.Popen(
            command,
            env=env,
            stdin=subprocess.DEVNULL,
            stdout=log if stdout is None else stdout,
            stderr=log,
            cwd=env.get("XDG_RUNTIME_DIR"),
            pass_fds=pass_fds,
            start_new_session=True,
        )
    finally:
        log.close()
    _started.append(process)
    return process


def run(command, env, timeout=10):
    """A short command to its end: its exit status and its output, or (None, "") when it hangs."""
    try:
        done = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None, ""
    return done.returncode, done.stdout.decode(errors="replace")


def alive(process):
    return process is not None and process.poll() is None


def wait_gone(process, timeout):
    """Waits for `process` to end; returns the seconds it took, or None when it is still there."""
    start_time = time.monotonic()
    if process.poll() is not None:
        return 0.0
    try:
        pidfd = os.pidfd_open(process.pid)
    except OSError:
        pidfd = None
    try:
        deadline = start_time + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                return None if process.poll() is None else time.monotonic() - start_time
            if pidfd is not None:
                poller = select.poll()
                poller.register(pidfd, select.POLLIN)
                poller.poll(min(left, 1.0) * 1000)
            else:
                time.sleep(min(left, 0.005))
            if process.poll() is not None:
                return time.monotonic() - start_time
    finally:
        if pidfd is not None:
            os.close(pidfd)


def signal_group(process, sig):
    try:
        os.killpg(process.pid, sig)
    except (ProcessLookupError, PermissionError):
        pass


def stop(process, grace=3.0):
    """Ends `process` and everything in its session: SIGTERM, then SIGKILL after `grace` seconds."""
    if process is None:
        return
    if process.poll() is None:
        signal_group(process, signal.SIGCONT)
        signal_group(process, signal.SIGTERM)
        if wait_gone(process, grace) is None:
            signal_group(process, signal.SIGKILL)
            wait_gone(process, grace)
    else:
        # The leader is gone; what it left in its session goes too.
        signal_group(process, signal.SIGKILL)
    try:
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        pass


def stop_all():
    while _started:
        stop(_started.pop())


def processes_with_env(name, value):
    """The ids of the running processes whose environment holds name=value."""
    wanted = ("%s=%s" % (name, value)).encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as environ:
                if wanted in environ.read().split(b"\0"):
                    found.append(int(entry))
        except OSError:
            continue  # gone meanwhile, or a kernel thread
    return [pid for pid in found if pid != os.getpid() and not _is_zombie(pid)]


def _is_zombie(pid):
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] == "Z"
    except OSError:
        return True


def kill_pids(pids):
    for pid in pids:
        for sig in (signal.SIGCONT, signal.SIGKILL):
            try:
                os.kill(pid, sig)
            except (ProcessLookupError, PermissionError):
                pass


def command_name(pid):
    try:
        with open("/proc/%d/comm" % pid) as comm:
            return comm.read().strip()
    except OSError:
        return "?"
