// A stand-in for the main window that remembers what the rules did to it, in order.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "engine/game_state.h"

namespace nokturna::testing {

class RecordingWindow : public WindowPort {
 public:
  RecordingWindow() {
    linePicture.fill(1);  // until the first game every image shows the slot-1 picture
    markerPicture.fill(1);
  }

  void setLinePicture(int line, int slot, int kind) override {
    linePicture[line] = slot;
    if (slot != 0) lineKind[line] = kind;
    log.push_back("line " + std::to_string(line) + " slot " + std::to_string(slot));
  }
  void setMarkerPicture(int square, int slot) override {
    markerPicture[square] = slot;
    log.push_back("marker " + std::to_string(square) + " slot " + std::to_string(slot));
  }
  void setCaption(Label label, const std::string& text) override {
    captions[label] = text;
    ++captionWrites[label];
    log.push_back("caption " + text);
  }
  void setTimerEnabled(Timer timer, bool enabled) override {
    timers[timer] = enabled;
    log.push_back(std::string(timer == Timer::Timer1 ? "Timer1 " : "Timer2 ") + (enabled ? "on" : "off"));
  }
  void setModeChecked(int index, bool checked) override {
    modeChecked[index] = checked;
    log.push_back("mode " + std::to_string(index) + (checked ? " checked" : " unchecked"));
  }
  bool soundOn() const override { return sound; }
  void playClip(int id) override {
    clips.push_back(id);
    log.push_back("clip " + std::to_string(id));
  }
  void setWinnerCaption(const std::string& text) override {
    winnerCaption = text;
    log.push_back("winner caption " + text);
  }
  void showWinner() override {
    ++winnerShown;
    log.push_back("show winner");
  }
  bool confirm(const Question& question) override {
    questions.push_back(question);
    log.push_back("ask " + question.title);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  bool timerOn(Timer timer) const {
    auto it = timers.find(timer);
    return it != timers.end() && it->second;
  }
  std::string caption(Label label) const {
    auto it = captions.find(label);
    return it == captions.end() ? std::string() : it->second;
  }

  std::array<int, kLineCount + 1> linePicture{};
  std::array<int, kLineCount + 1> lineKind{};
  std::array<int, kSquareCount + 1> markerPicture{};
  std::map<Label, std::string> captions;
  std::map<Label, int> captionWrites;
  std::map<Timer, bool> timers;
  std::map<int, bool> modeChecked{{1, false}, {2, true}};
  std::vector<int> clips;
  std::string winnerCaption;
  int winnerShown = 0;
  std::vector<Question> questions;
  std::deque<bool> answers;  // what the person answers to each message box; none left means Cancel/No
  bool sound = true;
  std::vector<std::string> log;
};

// A loaded main window with a predictable source of chance.
struct TestGame {
  explicit TestGame(std::uint64_t seed = 1)
      : clockValue(seed), game(window, [this] { return clockValue++; }) {
    FormLoadBoard(game);
  }
  void claimAll(std::initializer_list<int> lines) {
    for (int line : lines) game.state.lineState[line][2] = 1;
  }

  std::uint64_t clockValue;  // each reseed reads the next value
  RecordingWindow window;
  Game game;
  GameState& state() { return game.state; }
};

}  // namespace nokturna::testing
