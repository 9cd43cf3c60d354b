# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The real game, started as a desktop starts it, inside a private session, and played from outside.

A mark in its environment, inherited by anything it starts, tells afterwards whether it left a process
behind.
"""

import signal
import threading
import time
import uuid

import processes
from game_window import GameWindow

MARK = "NOKTURNA_SOUND_SERVER_CHECK"
# A claimed line is drawn at once: a board that takes longer than this to show it is not taking moves.
MOVE_SHOWS_WITHIN = 1.0
QUESTION_TITLE = "Ooouupss, what's wrong !!"
# The game's sound runs in a program of its own, which the game starts with its own environment.
SOUND_PROGRAM = "nokturna-sound"


class Game:
    def __init__(self, program, session, display, driver):
        self.mark = uuid.uuid4().hex
        env = session.env()
        env.update({"DISPLAY": display, "QT_QPA_PLATFORM": "xcb", MARK: self.mark})
        if driver != "default":
            env["SDL_AUDIODRIVER"] = driver
        self.started_at = time.monotonic()
        self.process = processes.start([program], env, session.log("game"))
        self.exited_at = None
        self._exited = threading.Event()
        threading.Thread(target=self._await_exit, daemon=True).start()
        self.window = GameWindow(display, self.process.pid)

    def _await_exit(self):
        # Noted the moment the process ends, not when someone next looks.
        while processes.wait_gone(self.process, 3600) is None:
            pass
        self.exited_at = time.monotonic()
        self._exited.set()

    def alive(self):
        return not self._exited.is_set()

    def wait_exit(self, timeout):
        """True once the process has ended (exited_at says when), False if it is still there."""
        return self._exited.wait(timeout)

    def end(self):
        """How the game ended: 'SIGSEGV', 'exit 0', ...; None while it runs."""
        code = self.process.poll()
        if code is None:
            return None
        if code < 0:
            return signal.Signals(-code).name
        return "exit %d" % code

    def wait_shown(self, timeout=30):
        return self.window.wait_shown(timeout, self.alive)

    def play(self):
        """Starts a game by the menu, as a player does: Menu, then Play, boy !! (F10, then its letter)."""
        self.window.focus()
        before = self.window.board_picture()
        self.window.key("F10")
        self.window.key("p")
        # The board clears for the new game.
        return self.window.wait_board_changes(before, 5.0)

    def takes_move(self):
        """Shows the keyboard's cursor and claims the line under it; the seconds until the board showed the
        claimed line, or None when it did not within a few seconds."""
        if not self.alive():
            return None
        try:
            self.window.focus()
            self.window.key("Right")
            before = self.window.wait_board_still()
            if before is None:
                return None
            self.window.key("space")
            pressed = time.monotonic()
            if self.window.wait_board_changes(before, 5.0):
                return time.monotonic() - pressed
        except Exception:
            if self.alive():
                raise
        return None

    def quit_by_menu(self):
        """Menu, I want out !!, then OK on the question. The moment the OK went, or None when the question
        never showed."""
        self.window.focus()
        self.window.key("F10")
        self.window.key("i")
        question = self.window.wait_other_window(QUESTION_TITLE, 5.0, self.alive)
        if question is None:
            return None
        self.window.key("Return")
        return time.monotonic()

    def close_window(self):
        self.window.ask_to_close()
        return time.monotonic()

    def sound_program(self):
        """The id of the game's sound program running now, or None."""
        for pid in processes.processes_with_env(MARK, self.mark):
            if processes.command_name(pid) == SOUND_PROGRAM:
                return pid
        return None

    def left_behind(self):
        return processes.processes_with_env(MARK, self.mark)

    def stop(self):
        self.window.close_connection()
        processes.stop(self.process, grace=1.0)
        processes.kill_pids(self.left_behind())
