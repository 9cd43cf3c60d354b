// Where the line and marker images sit on the main window, in twips (15 to a logical pixel).
#pragma once

#include <array>

namespace nokturna {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kRowPitchTwips = 945;      // vertical distance between rows of posts (63 px)
inline constexpr int kSquarePitchTwips = 1130;  // horizontal distance between neighbouring markers

// Sizes never change: a line image keeps its rectangle whether or not it shows a picture.
inline constexpr int kHorizontalLineWidth = 1005, kHorizontalLineHeight = 120;  // 67 x 8 px
inline constexpr int kVerticalLineWidth = 120, kVerticalLineHeight = 825;       // 8 x 55 px
inline constexpr int kMarkerWidth = 795, kMarkerHeight = 735;                   // 53 x 49 px

struct TwipPoint {
  int left = 0;
  int top = 0;
};

struct BoardLayout {
  std::array<TwipPoint, 113> box{};  // line images 1..112
  std::array<TwipPoint, 50> bola{};  // marker images 1..49
};

// The designer placed only the top row of each kind; loading the window lays out the rest from these.
BoardLayout DesignTimeLayout();

constexpr int twipsToPixels(int twips) { return (twips * 2 + kTwipsPerPixel) / (2 * kTwipsPerPixel); }

}  // namespace nokturna
