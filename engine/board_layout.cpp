#include "engine/board_layout.h"

#include "engine/game_state.h"

namespace nokturna {

namespace {
// Where the designer put the top row of each kind of image.
constexpr std::array<int, 8> kTopRowLefts = {780, 1900, 3030, 4160, 5280, 6400, 7530};
constexpr std::array<int, 8> kHangingRowLefts = {660, 1780, 2910, 4030, 5160, 6290, 7410, 8540};
constexpr int kTopRowTop = 580;
constexpr int kHangingRowTop = 710;
constexpr TwipPoint kFirstMarker = {880, 720};
}  // namespace

BoardLayout DesignTimeLayout() {
  BoardLayout layout;
  for (int c = 1; c <= 7; ++c) layout.box[c] = {kTopRowLefts[c - 1], kTopRowTop};
  for (int c = 1; c <= 8; ++c) layout.box[7 + c] = {kHangingRowLefts[c - 1], kHangingRowTop};
  layout.bola[1] = kFirstMarker;
  return layout;
}

void FormLoadBoard(Game& game) {
  GameState& s = game.state;
  s.playerName[kPlayer1] = "Player 1";
  s.playerName[kPlayer2] = "Player 2";
  s.playerName[kComputer] = "Daviz Edezo";
  s.gameStopped = true;
  s.playMode = kPersonVsComputer;
  game.random.reseedFromClock();
  s.sideStep = {0, 15, 7, 8, 1};

  BoardLayout& layout = game.layout;
  layout = DesignTimeLayout();
  // Every further row copies the lefts of the designer's row and steps down one row of posts.
  int y = layout.box[1].top;
  for (int first = 16; first <= 106; first += kLinesPerBlock) {
    y += kRowPitchTwips;
    for (int c = 1; c <= 7; ++c) layout.box[first + c - 1] = {layout.box[c].left, y};
  }
  y = layout.box[8].top;
  for (int first = 23; first <= 98; first += kLinesPerBlock) {
    y += kRowPitchTwips;
    for (int c = 1; c <= 8; ++c) layout.box[first + c - 1] = {layout.box[7 + c].left, y};
  }
  int x = layout.bola[1].left;
  y = layout.bola[1].top;
  for (int first = 1; first <= 43; first += 7) {
    for (int c = 1; c <= 7; ++c) {
      layout.bola[first + c - 1] = {x, y};
      x += kSquarePitchTwips;
    }
    x = layout.bola[1].left;
    y += kRowPitchTwips;
  }

  // Runs of 7 horizontal then 8 vertical lines, ending with the bottom row's 7 horizontal ones.
  int run = 0;
  bool horizontal = true;
  for (int line = 1; line <= kLineCount; ++line) {
    ++run;
    s.lineState[line][1] = horizontal ? kHorizontal : kVertical;
    s.lineState[line][2] = 0;
    if (horizontal && run == 7) {
      horizontal = false;
      run = 0;
    } else if (!horizontal && run == 8) {
      horizontal = true;
      run = 0;
    }
  }
}

}  // namespace nokturna
