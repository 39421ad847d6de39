// The simulation window: the configuration's transfer characteristic on the
// XY plot, the input in percent and the output current as edits and scroll
// bars, the result between them. Every event goes to the window logic; the
// window paints its view whenever the logic asks.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

#include "charts/xy_plot.h"
#include "workflow/simulation_window.h"

namespace q5480 {

class SimulationDialog : public QDialog {
  Q_OBJECT
 public:
  // Shows the logic's start state at once; the logic outlives the window.
  SimulationDialog(SimulationWindowLogic& logic, QWidget* parent);
  ~SimulationDialog() override;

  SimulationWindowLogic& Logic() { return logic_; }

  XyPlot* WykresXY1;    // the transfer characteristic (Wykres: chart)
  QLabel* AccuracyT;    // the table's accuracy, under the plot
  QScrollBar* InputS;   // position 0 at the top is 100 %
  QScrollBar* OutputS;  // position 0 at the top is 20 mA
  QGroupBox* InputGB;
  QLineEdit* InputE;
  QLabel* Input1T;  // the signal in its own unit
  QGroupBox* ResultGB;
  QLabel* ResultP;
  QLabel* ResultJT;
  QGroupBox* OutputGB;
  QLineEdit* OutputE;
  // Stands for both entry timers: it fires at the logic's next deadline.
  QTimer* Timer1;

 public slots:
  void done(int result) override;

 protected:
  // Enter in an edit takes it at once.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildEntries();
  void Connect();
  // Paints View() and Plot(); runs from the logic's Repaint.
  void Paint();
  void PaintPlot();
  // Starts Timer1 for the next entry the logic waits for, or stops it.
  void Schedule();

  SimulationWindowLogic& logic_;
  int plottedRevision_ = -1;  // the trace revision the plot shows
};

}  // namespace q5480
