# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Private sound servers, as a desktop runs them, under a runtime folder of their own.

A PipeWire stack (the daemon, WirePlumber as its session manager and pipewire-pulse for PulseAudio's
clients) or a PulseAudio server, each with at most one output: a null sink named "nul", whose monitor the
check records. Nothing reaches a server of the machine or of another user: every client that the check
starts gets the private runtime folder, home and session bus, and finds these servers through them.

Every wait is on a condition a client can see (a socket that answers, the sink listed, the default output
chosen), never a fixed time.
"""

import json
import os
import shutil
import signal
import tempfile
import time

import processes

SINK = "nul"


class NotReady(Exception):
    """A server did not come up as asked: the check itself failed, not the game."""


def wait_until(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.05)
    raise NotReady(what)


class Session:
    """A runtime folder, home and D-Bus session bus of their own: one player's desktop session."""

    def __init__(self, log_dir):
        self.log_dir = log_dir
        shutil.rmtree(log_dir, ignore_errors=True)
        os.makedirs(log_dir)
        self.runtime = tempfile.mkdtemp(prefix="nokturna-sound-")
        os.chmod(self.runtime, 0o700)
        for folder in ("home", "config", "state", "data", "cache"):
            os.makedirs(os.path.join(self.runtime, folder))
        # A PulseAudio client that finds no server starts none: a desktop's server is there or it is not.
        os.makedirs(os.path.join(self.runtime, "config", "pulse"))
        with open(os.path.join(self.runtime, "config", "pulse", "client.conf"), "w") as conf:
            conf.write("autospawn = no\n")
        self._bus = None

    def env(self):
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "LANG": "C.UTF-8",
            "XDG_RUNTIME_DIR": self.runtime,
            "HOME": os.path.join(self.runtime, "home"),
            "XDG_CONFIG_HOME": os.path.join(self.runtime, "config"),
            "XDG_STATE_HOME": os.path.join(self.runtime, "state"),
            "XDG_DATA_HOME": os.path.join(self.runtime, "data"),
            "XDG_CACHE_HOME": os.path.join(self.runtime, "cache"),
        }
        if self._bus is not None:
            env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + os.path.join(self.runtime, "bus")
        return env

    def log(self, name):
        return os.path.join(self.log_dir, name + ".log")

    def start_bus(self):
        # WirePlumber will not run without a session bus, and a program that finds none under a display
        # starts one of its own that outlives it.
        path = os.path.join(self.runtime, "bus")
        self._bus = processes.start(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + path],
            self.env(), self.log("dbus"))
        wait_until(lambda: os.path.exists(path) or not processes.alive(self._bus), 10, "the session bus")
        if not processes.alive(self._bus):
            raise NotReady("the session bus did not start (see %s)" % self.log("dbus"))

    def close(self):
        processes.stop(self._bus)
        self._bus = None
        # Whatever was started inside this session and is still there (a service the bus started, say).
        processes.kill_pids(processes.processes_with_env("XDG_RUNTIME_DIR", self.runtime))
        shutil.rmtree(self.runtime, ignore_errors=True)


class PipeWireStack:
    name = "PipeWire"

    def __init__(self, session):
        self._session = session
        self._processes = []
        config = os.path.join(session.runtime, "config", "pipewire", "pipewire.conf.d")
        os.makedirs(config)
        self._sink_config = os.path.join(config, "nul-sink.conf")

    def _env(self):
        return self._session.env()

    def running(self):
        return bool(self._processes) and all(processes.alive(p) for p in self._processes)

    def start(self, with_sink=True):
        """The daemon with its sink (as the daemon's own object, there as soon as it runs), then WirePlumber
        and pipewire-pulse; returns once a client sees the stack as a desktop's player would."""
        if with_sink:
            with open(self._sink_config, "w") as conf:
                conf.write("context.objects = [\n  { factory = adapter args = {\n"
                           + "".join("      %s = %s\n" % item for item in _sink_properties(linger=False))
                           + "  } }\n]\n")
        elif os.path.exists(self._sink_config):
            os.remove(self._sink_config)
        env = self._env()
        log = self._session.log
        daemon = processes.start(["pipewire"], env, log("pipewire"))
        self._processes = [daemon]
        socket = os.path.join(self._session.runtime, "pipewire-0")
        wait_until(lambda: not processes.alive(daemon) or (os.path.exists(socket) and self._dump() is not None),
                   15, "the PipeWire daemon's socket")
        if not processes.alive(daemon):
            raise NotReady("pipewire did not start (see %s)" % log("pipewire"))
        self._processes.append(processes.start(["wireplumber"], env, log("wireplumber")))
        self._processes.append(processes.start(["pipewire-pulse"], env, log("pipewire-pulse")))
        self.wait_ready(with_sink)

    def wait_ready(self, with_sink):
        def ready():
            if not self.running():
                raise NotReady("the PipeWire stack stopped while starting (see its logs in %s)"
                               % self._session.log_dir)
            dump = self._dump()
            if dump is None or not any(_props(o).get("application.name") == "WirePlumber" for o in dump
                                       if o.get("type", "").endswith("Client")):
                return False
            status, _ = processes.run(["pactl", "info"], self._env(), timeout=5)
            if status != 0:
                return False
            if not with_sink:
                return True
            return _default_sink(dump) == SINK and _pulse_lists_sink(self._env())

        wait_until(ready, 20, "the PipeWire stack" + (" with its sink" if with_sink else ""))

    def stop(self):
        for process in reversed(self._processes):
            processes.stop(process)
        self._processes = []

    def hang(self):
        for process in self._processes:
            processes.signal_group(process, signal.SIGSTOP)

    def resume(self):
        for process in self._processes:
            processes.signal_group(process, signal.SIGCONT)

    def remove_sink(self):
        dump = self._dump() or []
        ids = [o["id"] for o in dump if o.get("type", "").endswith("Node") and _props(o).get("node.name") == SINK]
        if not ids:
            raise NotReady("no sink to remove")
        for node in ids:
            processes.run(["pw-cli", "destroy", str(node)], self._env())
        wait_until(lambda: not _pulse_lists_sink(self._env()) and not self._has_sink_node(), 10,
                   "the sink to go")

    def add_sink(self):
        props = " ".join("%s = %s" % item for item in _sink_properties(linger=True))
        status, _ = processes.run(["pw-cli", "create-node", "adapter", "{ %s }" % props], self._env())
        if status != 0:
            raise NotReady("pw-cli could not create the sink")
        self.wait_ready(with_sink=True)

    def record_command(self):
        return ["pw-record", "--target", SINK, "-P", "{ stream.capture.sink = true }", "--rate", "44100",
                "--channels", "2", "--format", "s16", "--latency", "20ms", "-"]

    def _has_sink_node(self):
        dump = self._dump() or []
        return any(o.get("type", "").endswith("Node") and _props(o).get("node.name") == SINK for o in dump)

    def _dump(self):
        status, out = processes.run(["pw-dump"], self._env(), timeout=5)
        if status != 0:
            return None
        try:
            return json.loads(out)
        except ValueError:
            return None


class PulseAudioServer:
    name = "PulseAudio"

    def __init__(self, session):
        self._session = session
        self._process = None

    def _env(self):
        return self._session.env()

    def running(self):
        return processes.alive(self._process)

    def start(self, with_sink=True):
        command = ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                   "--log-target=stderr", "-L", "module-native-protocol-unix"]
        if with_sink:
            command += ["-L", "module-null-sink sink_name=" + SINK]
        self._process = processes.start(command, self._env(), self._session.log("pulseaudio"))
        self.wait_ready(with_sink)

    def wait_ready(self, with_sink):
        def ready():
            if not self.running():
                raise NotReady("pulseaudio stopped while starting (see %s)" % self._session.log("pulseaudio"))
            status, _ = processes.run(["pactl", "info"], self._env(), timeout=5)
            return status == 0 and (not with_sink or _pulse_lists_sink(self._env()))

        wait_until(ready, 20, "the PulseAudio server" + (" with its sink" if with_sink else ""))

    def stop(self):
        processes.stop(self._process)
        self._process = None

    def hang(self):
        processes.signal_group(self._process, signal.SIGSTOP)

    def resume(self):
        processes.signal_group(self._process, signal.SIGCONT)

    def remove_sink(self):
        processes.run(["pactl", "unload-module", "module-null-sink"], self._env())
        wait_until(lambda: not _pulse_lists_sink(self._env()), 10, "the sink to go")

    def add_sink(self):
        status, _ = processes.run(["pactl", "load-module", "module-null-sink", "sink_name=" + SINK], self._env())
        if status != 0:
            raise NotReady("pactl could not load the sink")
        self.wait_ready(with_sink=True)

    def record_command(self):
        return ["parec", "-d", SINK + ".monitor", "--format=s16le", "--rate=44100", "--channels=2",
                "--latency-msec=20"]


def _sink_properties(linger):
    props = [
        ("factory.name", "support.null-audio-sink"),
        ("node.name", SINK),
        ("node.description", '"Null output"'),
        ("media.class", "Audio/Sink"),
        ("audio.position", "[ FL FR ]"),
        ("monitor.channel-volumes", "true"),
    ]
    if linger:
        # Made by a short-lived pw-cli, it stays once its maker is gone, as an output of the desktop does.
        props.append(("object.linger", "true"))
    return props


def _props(obj):
    # pw-dump puts a metadata object's properties beside its entries, everyone else's in its info.
    return obj.get("props") or (obj.get("info") or {}).get("props") or {}


def _default_sink(dump):
    for obj in dump:
        if not obj.get("type", "").endswith("Metadata") or _props(obj).get("metadata.name") != "default":
            continue
        for entry in obj.get("metadata") or []:
            if entry.get("key") == "default.audio.sink":
                value = entry.get("value")
                if isinstance(value, dict):
                    return value.get("name")
                try:
                    return json.loads(value).get("name")
                except (TypeError, ValueError, AttributeError):
                    return None
    return None


def _pulse_lists_sink(env):
    status, out = processes.run(["pactl", "list", "short", "sinks"], env, timeout=5)
    return status == 0 and any(line.split("\t")[1:2] == [SINK] for line in out.splitlines())
