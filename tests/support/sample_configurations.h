// Configurations the tests start from.
#pragma once

#include "config/module_config.h"

namespace q5480::test_support {

// Thermocouple K, 0 to 1000 °C, linearised, internal compensation, tagged
// "TI-101", on a Q5495.
inline void SetThermocoupleK(ModuleConfig& c) {
  c.Device = "Q5495";
  c.Typ = 10;
  c.Tryb = 7;
  c.Lin = kLinTable;
  c.MinInput = 0;
  c.MaxInput = 1000;
  c.Jednostki = 8;
  c.kod = "TI-101";
}

// A Pt100 three-wire configuration on a Q5495 with every field set apart
// from its default.
inline void SetPt100Configuration(ModuleConfig& config) {
  config.Device = "Q5495";
  config.Typ = 1;
  config.Tryb = 3;
  config.Lin = kLinTable;  // linearised by the standard characteristic
  config.MinInput = -50;
  config.MaxInput = 250;
  config.RoomT = 23.5;
  config.ZeroReg = 0.25;
  config.GainReg = -0.125;
  config.FiltrZakres = 12;
  config.FiltrCzas = 32;
  config.FiltrLimit = 7;
  config.LimitLow = 20;
  config.LimitHigh = 180;
  config.Jednostki = 8;
  config.Kropka = 2;
  config.Burnout = 1;
  config.Siec = 60;
  config.kod = "TAG-7";
  config.ogolne = "Boiler 3, return line";
}

}  // namespace q5480::test_support
