// Every control of the conversion windows and of the external cold
// junction's window says what it is to a screen reader.
#include "support/scratch_directory.h"
#include "ui/linear_dialog.h"
#include "ui/power_series_dialog.h"
#include "ui/qt_user_interface.h"
#include "ui/room_temperature_dialog.h"
#include "ui/table_dialog.h"
#include "ui_fixture.h"

namespace q5480::test {
namespace {

class ConversionWindows : public ::testing::Test {
 protected:
  ConversionWindows() : context_(ui_) {
    Application();
    context_.config.Device = "Q5494";
    context_.config.Typ = 17;
    context_.conversion.TableType = 17;
    context_.settings.DataDir = scratch_.Path().string();
  }

  test_support::ScratchDirectory scratch_;
  QtUserInterface ui_;
  ProgramContext context_;
};

TEST_F(ConversionWindows, EveryControlHasAnAccessibleName) {
  TableDialog table(context_, nullptr);
  PowerSeriesDialog series(context_, nullptr);
  LinearDialog linear(context_, nullptr);
  RoomTemperatureDialog room(context_, nullptr);
  for (QDialog* window : std::initializer_list<QDialog*>{&table, &series, &linear, &room}) {
    ExpectAccessibleNames(*window);
  }
}

}  // namespace
}  // namespace q5480::test
