// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/confirm_question.h"

#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>
#include <QString>

namespace nokturna {

bool ConfirmQuestion(QWidget* parent, const Question& question) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(question.title),
                  QString::fromStdString(question.prompt), QMessageBox::NoButton, parent);
  const bool okCancel = question.buttons == Buttons::OkCancel;
  const QMessageBox::StandardButton confirming = okCancel ? QMessageBox::Ok : QMessageBox::Yes;
  const QMessageBox::StandardButton declining = okCancel ? QMessageBox::Cancel : QMessageBox::No;
  box.setStandardButtons(confirming | declining);
  box.setDefaultButton(confirming);
  box.setEscapeButton(declining);
  // Some desktop themes put an icon on every dialog button; these carry their captions alone.
  for (QAbstractButton* button : box.buttons()) button->setIcon(QIcon());
  return box.exec() == confirming;
}

}  // namespace nokturna
