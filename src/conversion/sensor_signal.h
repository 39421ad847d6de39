// The sensor characteristics: the signal that the module measures for a
// value of the input quantity.
#pragma once

#include "config/module_config.h"
#include "conversion/conversion_state.h"

namespace q5480 {

// Ohms for resistance thermometers and the resistance input, mV for
// thermocouples, the raw unit for the other inputs. Types 5 and 16 to 19
// follow the conversion of `config.Lin`; type 15 and the table conversions
// look up `table`. Throws ConversionError on a floating-point error.
double SensorSignal(int typ, double x, const ModuleConfig& config, const UserTable& table);

// SensorSignal for thermocouple types 6 to 15, else 0.
double ThermocoupleSignal(int typ, double t, const ModuleConfig& config, const UserTable& table);

// Resistance thermometer polynomial of types 1 to 4, in ohms.
long double ResistanceSignal(int typ, long double t);

// Smallest accepted difference between the signals at the ends of a range.
double MinimumSignalSpan(int typ);

// True when the characteristic of the record is the user table: type 15, or
// a plain input (5, 16 to 20) with a table or power series conversion.
bool UsesUserTable(const ModuleConfig& config);

// True when the record names a user table file by its conversion: type 15,
// or a plain input (5, 16 to 20) with a table conversion. Only such a
// record keeps the file's name in a parameters file.
bool NamesTableFile(const ModuleConfig& config);

// Types 1 to 4 and 6 to 14: characteristics built into the program.
bool IsStandardCharacteristic(int typ);

}  // namespace q5480
