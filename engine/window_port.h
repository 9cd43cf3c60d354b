// What the rules may do to the main window, and nothing more. The real window implements it with Qt;
// tests implement it with a recorder.
#pragma once

#include <string>

namespace nokturna {

enum class Label { commentlbl, scorelbl1, scorelbl2, timelbl };
enum class Timer { Timer1, Timer2 };  // Timer1: the computer's 250 ms pause; Timer2: the one-second clock
enum class Buttons { OkCancel, YesNo };

struct Question {
  std::string prompt;
  std::string title;
  Buttons buttons;
};

class WindowPort {
 public:
  virtual ~WindowPort() = default;

  // Copies picture `kind` (1 vertical, 2 horizontal) of slot `slot`'s line holder into line image `line`;
  // slot 0 clears the image, which stays clickable.
  virtual void setLinePicture(int line, int slot, int kind) = 0;
  // Copies slot `slot`'s marker into marker image `square`; slot 0 clears it.
  virtual void setMarkerPicture(int square, int slot) = 0;
  virtual void setCaption(Label label, const std::string& text) = 0;
  virtual void setTimerEnabled(Timer timer, bool enabled) = 0;
  virtual void setModeChecked(int index, bool checked) = 0;

  // Sound effects: whether they are wanted, and clip `id` (1..4). Playing lets pending window events
  // be handled once before it returns.
  virtual bool soundOn() const = 0;
  virtual void playClip(int id) = 0;

  // The winner window: setting its label creates the window if needed but does not show it.
  virtual void setWinnerCaption(const std::string& text) = 0;
  virtual void showWinner() = 0;

  // A modal message box with no icon; true when the answer is OK or Yes.
  virtual bool confirm(const Question& question) = 0;
};

}  // namespace nokturna
