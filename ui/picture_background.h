// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A window background: a plain colour with a picture drawn unscaled from the top-left corner. Where the
// picture is larger than the widget it is cut; where smaller, the colour shows.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace nokturna {

class PictureBackground : public QWidget {
  Q_OBJECT

 public:
  PictureBackground(const QPixmap& picture, const QColor& fill, QWidget* parent = nullptr);

  const QPixmap& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
  QColor fill_;
};

}  // namespace nokturna
