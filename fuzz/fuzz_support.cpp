#include "fuzz_support.h"

#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "config/text.h"

namespace q5480::fuzz {
namespace {

class Scratch {
 public:
  Scratch() {
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    // Writers flush to the disk; in memory that costs nothing.
    const std::filesystem::path base = std::filesystem::is_directory(memory, error)
                                           ? memory
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "q5480-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) Fail("cannot make a scratch folder");
    path_ = pattern;
  }
  ~Scratch() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

bool Close(double a, double b, double relative) {
  if (a == b) return true;
  return std::fabs(a - b) <= relative * std::max(std::fabs(a), std::fabs(b));
}

}  // namespace

const std::filesystem::path& ScratchFolder() {
  static const Scratch scratch;
  return scratch.Path();
}

std::filesystem::path WriteScratchFile(std::string_view name, const std::uint8_t* data,
                                       std::size_t size) {
  const std::filesystem::path path = ScratchFolder() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) Fail("cannot write " + path.string());
  return path;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "property broken: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

bool AllFinite(const ModuleConfig& c) {
  for (double value :
       {c.SignalLow, c.SignalHigh, c.MinInput, c.MaxInput, c.RoomT, c.ZeroReg, c.GainReg}) {
    if (!std::isfinite(value)) return false;
  }
  for (double value : c.Coefficients) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

std::string FirstDifference(const ModuleConfig& a, const ModuleConfig& b, double relative) {
  std::ostringstream out;
  out.precision(17);
  const auto number = [&](const char* name, double x, double y) {
    if (out.tellp() == 0 && !Close(x, y, relative)) out << name << ": " << x << " / " << y;
  };
  const auto integer = [&](const char* name, long long x, long long y) {
    if (out.tellp() == 0 && x != y) out << name << ": " << x << " / " << y;
  };
  const auto text = [&](const char* name, const std::string& x, const std::string& y) {
    if (out.tellp() == 0 && x != y) out << name << ": \"" << x << "\" / \"" << y << "\"";
  };
  text("Device", a.Device, b.Device);
  integer("Typ", a.Typ, b.Typ);
  integer("Tryb", a.Tryb, b.Tryb);
  integer("Lin", a.Lin, b.Lin);
  number("MinInput", a.MinInput, b.MinInput);
  number("MaxInput", a.MaxInput, b.MaxInput);
  number("RoomT", a.RoomT, b.RoomT);
  number("ZeroReg", a.ZeroReg, b.ZeroReg);
  number("GainReg", a.GainReg, b.GainReg);
  integer("FiltrLimit", a.FiltrLimit, b.FiltrLimit);
  integer("FiltrZakres", a.FiltrZakres, b.FiltrZakres);
  integer("FiltrCzas", a.FiltrCzas, b.FiltrCzas);
  integer("LimitLow", a.LimitLow, b.LimitLow);
  integer("LimitHigh", a.LimitHigh, b.LimitHigh);
  integer("Burnout", a.Burnout, b.Burnout);
  integer("Siec", a.Siec, b.Siec);
  integer("Jednostki", a.Jednostki, b.Jednostki);
  integer("Kropka", a.Kropka, b.Kropka);
  text("serial", a.serial, b.serial);
  text("data", a.data, b.data);
  text("kod", a.kod, b.kod);
  text("ogolne", a.ogolne, b.ogolne);
  text("File", a.File, b.File);
  for (std::size_t i = 0; i < a.Coefficients.size(); ++i) {
    number("Coefficients", a.Coefficients[i], b.Coefficients[i]);
  }
  return out.str();
}

std::string ThroughCp1250(std::string_view text) { return Cp1250ToUtf8(Utf8ToCp1250(text)); }

bool ReadBackAsUtf8(std::string_view bytes) { return DecodeTextFile(bytes) != Cp1250ToUtf8(bytes); }

}  // namespace q5480::fuzz
