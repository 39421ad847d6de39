// The CAP, NUM and INS panels of the status bar. The state of the three keys
// is followed through their presses, which every platform plugin delivers,
// offscreen and under a virtual display alike; all three start off.
#pragma once

#include <QLabel>
#include <QObject>

namespace q5480 {

class LockKeyPanels : public QObject {
  Q_OBJECT
 public:
  explicit LockKeyPanels(QWidget* parent);

  QLabel* Cap;
  QLabel* Num;
  QLabel* Ins;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static void Toggle(QLabel* panel, const char* text);
};

}  // namespace q5480
