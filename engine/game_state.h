// The game as the main window remembers it: board numbering, the state of the running game, and the
// handful of procedures every rule reaches for. Plain C++; the window is reached only through WindowPort.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "engine/board_layout.h"
#include "engine/random.h"
#include "engine/window_port.h"

namespace nokturna {

inline constexpr int kLineCount = 112;     // 8 rows of 7 horizontal lines, 7 gaps of 8 vertical lines
inline constexpr int kSquareCount = 49;    // 7 by 7 squares
inline constexpr int kLinesPerBlock = 15;  // one post row: 7 horizontal lines, then the 8 hanging below it

// Kind codes double as the index into a player's pair of line pictures (entry 1 vertical, entry 2
// horizontal).
inline constexpr std::int16_t kVertical = 1;
inline constexpr std::int16_t kHorizontal = 2;

// Player slots: 1 "Player 1" (moves first), 2 the computer "Daviz Edezo", 3 "Player 2".
inline constexpr int kPlayer1 = 1;
inline constexpr int kComputer = 2;
inline constexpr int kPlayer2 = 3;

// Play modes: 1 person against person (slots 1 and 3), 2 person against the computer (slots 1 and 2).
inline constexpr int kPersonVsPerson = 1;
inline constexpr int kPersonVsComputer = 2;

// Arrays are indexed from 1 like the lines, squares and slots they describe; entry 0 is never used.
struct GameState {
  bool gameStopped = true;
  // Row L: [1] kind (2 horizontal, 1 vertical), fixed at load; [2] 1 once claimed in this game.
  std::array<std::array<std::int16_t, 3>, kLineCount + 1> lineState{};
  std::array<std::int16_t, 5> sideStep{};  // 15, 7, 8, 1: steps from a line to the other sides of a square
  std::array<std::int16_t, 4> score{};     // squares closed by each slot in this game
  int squaresClosed = 0;
  int playMode = kPersonVsComputer;
  int turn = 0;  // no value until the first game
  int clockHours = 0;
  int clockMinutes = 0;
  int clockSeconds = 0;
  std::int16_t currentSong = 0;  // 0 while no song was found
  std::array<std::string, 4> playerName;

  bool claimed(int line) const { return lineState[line][2] == 1; }
};

// Everything the rules of one main window act on.
struct Game {
  explicit Game(WindowPort& port, Random::Clock clock = Random::systemClock)
      : window(port), random(std::move(clock)) {}

  GameState state;
  BoardLayout layout;
  WindowPort& window;
  Random random;
};

// Board numbering.
constexpr bool isHorizontal(int line) { return (line - 1) % kLinesPerBlock < 7; }

// The square on side 1 (above / left) or side 2 (below / right) of a line, or 0 on the board's edge.
int squareOnSide(int line, int side);

// The other three sides of the square on one side of a line, built from the side-step table.
std::array<int, 3> otherSides(const GameState& state, int line, int side);

// The four sides of square q: top, bottom, left, right.
std::array<int, 4> sidesOfSquare(int square);

// The game-state part of loading the main window: names, mode, seed, side steps, line kinds and the
// positions of every line and marker image.
void FormLoadBoard(Game& game);

}  // namespace nokturna
