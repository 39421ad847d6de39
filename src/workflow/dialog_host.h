// The modal windows that one window opens from another. The window logic
// asks through this seam; the desktop program shows the Qt window over the
// program context, tests answer as a person would. Every window works on
// the program context itself and leaves its choice there.
#pragma once

namespace q5480 {

// How a selection window closed: with OK, with Cancel, or with "More",
// which asks for the other window of its pair.
enum class SelectionOutcome { Ok, Cancel, More };

class DialogHost {
 public:
  virtual ~DialogHost() = default;

  // The meter type window (MeterTypeDialog): true when a model that can be
  // configured was chosen.
  virtual bool MeterType() = 0;

  // The selection windows by model: sensors (SensorDialog) and resistance or
  // millivolt inputs (ResistanceVoltageDialog) of the Q5495 to Q5497, the ±11 V and
  // ±22 mA inputs (VoltageCurrentDialog) of the Q5494, the 4 to 20 mA input (LoopCurrentDialog)
  // of the Q5491.
  virtual SelectionOutcome Sensor() = 0;
  virtual SelectionOutcome ResistanceVoltage() = 0;
  virtual SelectionOutcome VoltageCurrent() = 0;
  virtual SelectionOutcome LoopCurrent() = 0;

  // The conversion windows for `conversion.TableType`, and the external
  // cold junction's temperature: true when closed with OK.
  virtual bool Table() = 0;            // TableDialog
  virtual bool PowerSeries() = 0;      // PowerSeriesDialog
  virtual bool Linear() = 0;           // LinearDialog
  virtual bool RoomTemperature() = 0;  // RoomTemperatureDialog
};

}  // namespace q5480
