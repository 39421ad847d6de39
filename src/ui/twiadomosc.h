// The "Message" window of a transfer: stays on top and keeps the person's
// input from the other windows until the transfer ends.
#pragma once

#include <QLabel>
#include <QWidget>

#include "config/language_table.h"

namespace q5480 {

class TWiadomosc : public QWidget {
  Q_OBJECT
 public:
  TWiadomosc(const LanguageTable& language, QWidget* parent);

  QLabel* Label1;  // "Communicating with device"
  QLabel* Label2;  // "Please wait..."

 protected:
  // Clicks do nothing while a transfer runs.
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace q5480
