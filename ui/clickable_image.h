// An image control that reports a left-button click with its index: pressed and released inside it.
// Its rectangle takes clicks whether or not it shows a picture, so a cleared line can still be claimed.
// It also remembers whether the line it draws is claimed, for assistive technology to tell.
#pragma once

#include <QLabel>

class QMouseEvent;

namespace nokturna {

class ClickableImage : public QLabel {
  Q_OBJECT

 public:
  ClickableImage(int index, QWidget* parent);

  int index() const { return index_; }

  // A click that comes from assistive technology rather than the mouse: reported the same way.
  void activate();

  bool claimed() const { return claimed_; }
  // Screen readers hear of a change.
  void setClaimed(bool claimed);

 signals:
  void clicked(int index);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int index_;
  bool pressed_ = false;
  bool claimed_ = false;
};

}  // namespace nokturna
