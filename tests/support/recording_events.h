// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A stand-in for the main window: remembers what the rules told of the game, in order, and what a window
// would show after it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "engine/captions.h"
#include "engine/game_state.h"

namespace nokturna::testing {

class EventRecorder : public GameEvents {
 public:
  void gameStarted(Side first) override {
    lineOwner.fill(std::nullopt);
    squareOwner.fill(std::nullopt);
    turn = first;
    clockRunning = true;
    log.push_back("gameStarted " + SideName(first));
  }
  void lineClaimed(int line, Side side) override {
    lineOwner[line] = side;
    log.push_back("lineClaimed " + std::to_string(line) + " " + SideName(side));
  }
  void squareWon(int square, Side side) override {
    squareOwner[square] = side;
    log.push_back("squareWon " + std::to_string(square) + " " + SideName(side));
  }
  void scoreChanged(Side side, int score) override {
    log.push_back("scoreChanged " + SideName(side) + " " + std::to_string(score));
  }
  void turnPassed(Side side) override {
    turn = side;
    log.push_back("turnPassed " + SideName(side));
  }
  void computerTurnDue() override {
    computerPending = true;
    log.push_back("computerTurnDue");
  }
  void computerTurnCancelled() override {
    computerPending = false;
    log.push_back("computerTurnCancelled");
  }
  void clockMoved(int hours, int minutes, int seconds) override {
    clock = ClockCaption(hours, minutes, seconds);
    log.push_back("clockMoved " + clock);
  }
  void gameEnded(Side side) override {
    clockRunning = false;
    winner = side;
    ++gamesEnded;
    log.push_back("gameEnded " + SideName(side));
  }
  void modeChanged(PlayMode newMode) override {
    mode = newMode;
    log.push_back(newMode == PlayMode::PersonVsPerson ? "modeChanged person" : "modeChanged computer");
  }
  bool ask(const Question& question) override {
    questions.push_back(question);
    log.push_back("ask " + question.title);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  // The window's pause ends: what it does before it lets the computer move.
  void computerPauseOver() { computerPending = false; }

  std::vector<std::string> log;
  std::array<std::optional<Side>, kLineCount + 1> lineOwner{};
  std::array<std::optional<Side>, kSquareCount + 1> squareOwner{};
  std::optional<Side> turn;
  bool computerPending = false;
  bool clockRunning = false;
  std::string clock;
  std::optional<Side> winner;
  int gamesEnded = 0;
  PlayMode mode = PlayMode::PersonVsComputer;
  std::vector<Question> questions;
  std::deque<bool> answers;  // what the person answers to each question; none left means Cancel/No
};

// A game with a recorder for its window and a predictable source of chance.
struct TestGame {
  explicit TestGame(std::uint64_t seed = 1)
      : clockValue(seed), game(events, [this] { return clockValue++; }) {}

  void claimAll(std::initializer_list<int> lines) {
    for (int line : lines) game.state.board.lines[line].claimed = true;
  }

  std::uint64_t clockValue;  // each seeding reads the next value
  EventRecorder events;
  Game game;
  GameState& state() { return game.state; }
};

}  // namespace nokturna::testing
