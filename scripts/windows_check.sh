#!/usr/bin/env bash
# The Windows build, checked under wine: scripts/windows_check.sh [LINUX_BUILD] [WINDOWS_BUILD]
#
# Cross-builds q5480ctl.exe and the Windows test programs with mingw-w64
# (cmake/mingw-w64-x86_64.cmake) into WINDOWS_BUILD (build-windows), runs the
# test programs under wine, then lets q5480ctl.exe identify, write, verify,
# read back and monitor the Linux build's q5480-module at 4800 baud through a
# COM port of a private wine prefix, from a data folder with Polish letters in
# its name. The module's memory after the Windows write must equal, byte for
# byte, its memory after LINUX_BUILD's q5480ctl (build) wrote the same file;
# identify and write are timed against the Linux build. Runs headless and
# offline. The Linux build must exist.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux=$root/${1:-build}
windows=$root/${2:-build-windows}
started=$SECONDS

say() { echo "windows: $*"; }
fail() {
  echo "windows: FAILED: $*" >&2
  exit 1
}

for program in q5480-module q5480ctl; do
  [ -x "$linux/bin/$program" ] || fail "$linux/bin/$program is missing: build Linux first"
done

# The private prefix lives in the Windows build, made once. Its server is
# kept running for the whole stage: wine links com1 to this machine's
# /dev/ttyS0 (here the console) each time a server starts, and the links are
# removed below before any program of ours runs.
export WINEPREFIX=$windows/wine-prefix
export WINEDEBUG=-all
# No Mono or Gecko download prompts, no window.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# Wine hands the arguments over in the terminal's character set: UTF-8, so
# that the folder's Polish letters arrive.
export LC_ALL=C.UTF-8

scratch=$(mktemp -d)
emulator_pid=""
stop_emulator() {
  if [ -n "$emulator_pid" ]; then
    kill "$emulator_pid" 2>/dev/null || true
    wait "$emulator_pid" 2>/dev/null || true
    emulator_pid=""
  fi
}
cleanup() {
  stop_emulator
  wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

mkdir -p "$WINEPREFIX"
# A server left from an interrupted run would keep its links.
wineserver -k >/dev/null 2>&1 || true
wineserver -p >/dev/null 2>&1
# The prefix's first start takes half a minute; the build runs meanwhile.
wineboot -i >"$scratch/wineboot.log" 2>&1 &
wineboot_pid=$!

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "${launcher[@]}" >/dev/null
cmake --build "$windows" -j "$(nproc)" --target q5480ctl test_config test_conversion test_service
say "built in $((SECONDS - started)) s"
wait "$wineboot_pid" || fail "wineboot: $(cat "$scratch/wineboot.log")"

windows_path() { echo "Z:${1//\//\\}"; }

port=5   # never COM1: wine gives that name to the machine's first serial port
# COM5 is declared to wine as a link of ours, which each emulated module's
# terminal is put behind; wine then lists it and names it as it would a real
# port. Beside it, the driver settings of an FTDI adapter on COM5 whose
# latency timer is still 16 ms.
ln -s "$scratch/no-module-yet" "$scratch/com$port"
cat >"$scratch/ports.reg" <<REG
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Wine\Ports]
"COM$port"="$scratch/com$port"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\FTDIBUS\VID_0403+PID_6001+Q5480\0000\Device Parameters]
"PortName"="COM$port"
"LatencyTimer"=dword:00000010
REG
wine regedit /S "$(windows_path "$scratch/ports.reg")"
# Wine reads its ports as its server starts; a new start links com1 again.
wineserver -k
wineserver -p >/dev/null 2>&1
wine cmd /c exit

# No COM port of the prefix may lead to a device of this machine: only the
# declared one stays.
for link in "$WINEPREFIX"/dosdevices/com*; do
  [ -L "$link" ] && [ "$(readlink "$link")" != "$scratch/${link##*/}" ] && rm -f "$link"
done
[ "$(readlink "$WINEPREFIX/dosdevices/com$port")" = "$scratch/com$port" ] ||
  fail "wine did not take COM$port: $(ls -l "$WINEPREFIX/dosdevices")"

ctl=$windows/bin/q5480ctl.exe

# The test programs that need neither a pseudo-terminal nor a child process.
for suite in config conversion service; do
  wine "$windows/tests/test_$suite.exe" --gtest_brief=1 >"$scratch/test_$suite.log" 2>&1 ||
    { cat "$scratch/test_$suite.log"; fail "test_$suite.exe"; }
  say "test_$suite.exe: $(grep -E '^\[  PASSED  \]' "$scratch/test_$suite.log")"
done

# A data folder named in Polish, holding a user table and a parameters file
# whose user information has Polish letters and a degree sign (the file, as
# every parameters file, in Windows-1250).
data="$scratch/Dane pomiarów – Łódź"
mkdir -p "$data"
cp examples/thermocouple_x_table.dat "$data/"
tr -d '\r' <examples/user_table_thermocouple_x.par |
  sed -e 's/^ogolne=.*/ogolne=Termopara wg tabeli użytkownika, /' \
      -e 's/^ogolne1=.*/ogolne1=kompensacja wewnętrzna, 0–1200 °C/' |
  sed 's/$/\r/' | iconv -f UTF-8 -t CP1250 >"$data/czujnik X.par"
par=$(windows_path "$data/czujnik X.par")

# The emulated module (a Q5491, as the file says) on a pseudo-terminal, paced
# as a real line; its first line of output names the terminal.
start_emulator() {
  local memory=$1
  shift
  : >"$scratch/emulator.out"
  "$linux/bin/q5480-module" --baud 4800 --model 5491 --memory "$memory" "$@" >"$scratch/emulator.out" 2>&1 &
  emulator_pid=$!
  local tries=0
  until [ -s "$scratch/emulator.out" ]; do
    ((++tries <= 200)) || fail "q5480-module did not start: $(cat "$scratch/emulator.out")"
    sleep 0.05
  done
  terminal=$(head -n 1 "$scratch/emulator.out")
}

# Seconds a command takes, with its output in $scratch/last.out.
elapsed() {
  local begin end
  begin=$(date +%s%N)
  "$@" >"$scratch/last.out" 2>&1 || { cat "$scratch/last.out" >&2; fail "$*"; }
  end=$(date +%s%N)
  awk -v ns=$((end - begin)) 'BEGIN { printf "%.2f", ns / 1e9 }'
}

start_emulator "$scratch/memory-windows.bin"
ln -sfn "$terminal" "$scratch/com$port"

# The port doctor sees the slow adapter without opening the port; the first
# open sets the timer to 2 ms, and the doctor is content.
wine "$ctl" ports | grep -q "^COM $port " || fail "ports does not list COM$port"
if wine "$ctl" doctor --port $port >"$scratch/doctor.out" 2>&1 ||
  ! grep -q 'above 2 ms: 16 ms' "$scratch/doctor.out"; then
  fail "doctor: $(cat "$scratch/doctor.out")"
fi

# What starting a program under wine costs, apart from any work.
wine_start=$(elapsed wine "$ctl" --help)
windows_identify=$(elapsed wine "$ctl" identify --port $port)
grep -q '^model' "$scratch/last.out" || fail "identify: $(cat "$scratch/last.out")"
wine "$ctl" doctor --port $port >"$scratch/doctor.out" 2>&1 || fail "doctor: $(cat "$scratch/doctor.out")"
windows_write=$(elapsed wine "$ctl" write "$par" --port $port)
grep -q 'Device programmed' "$scratch/last.out" || fail "write: $(cat "$scratch/last.out")"
written=$(grep -o 'fingerprint  [0-9a-f]*' "$scratch/last.out")
elapsed wine "$ctl" verify "$par" --port $port >/dev/null
grep -q 'Verification successful' "$scratch/last.out" || fail "verify: $(cat "$scratch/last.out")"
elapsed wine "$ctl" read --port $port -o "$(windows_path "$data/odczyt.par")" >/dev/null
grep -q "$written" "$scratch/last.out" || fail "read back: $(cat "$scratch/last.out")"
[ -s "$data/odczyt.par" ] || fail "read back: no $data/odczyt.par"
elapsed wine "$ctl" diff "$par" --port $port >/dev/null
elapsed wine "$ctl" monitor --port $port --count 3 >/dev/null
[ "$(grep -c '°C' "$scratch/last.out")" = 3 ] || fail "monitor: $(cat "$scratch/last.out")"
say "q5480ctl.exe ports, doctor (the adapter tuned), identify, write, verify, read back, diff and monitor on COM$port: $written"

# The texts reach the console as UTF-8, as the Linux build prints them (the
# user information as the record holds it, 30 characters a line).
wine "$ctl" par show "$par" | tr -d '\r' >"$scratch/show-windows.txt"
"$linux/bin/q5480ctl" par show "$data/czujnik X.par" >"$scratch/show-linux.txt"
cmp -s "$scratch/show-windows.txt" "$scratch/show-linux.txt" ||
  fail "par show differs: $(diff "$scratch/show-linux.txt" "$scratch/show-windows.txt")"
grep -q 'użytkownik' "$scratch/show-windows.txt" && grep -q 'wewnętrzna, 0–1' "$scratch/show-windows.txt" ||
  fail "par show lost the Polish letters: $(cat "$scratch/show-windows.txt")"
stop_emulator

# The same write from the Linux build, to a fresh module.
linux_port=47
start_emulator "$scratch/memory-linux.bin" --com $linux_port
linux_identify=$(elapsed "$linux/bin/q5480ctl" identify --port $linux_port)
linux_write=$(elapsed "$linux/bin/q5480ctl" write "$data/czujnik X.par" --port $linux_port)
stop_emulator
cmp "$scratch/memory-windows.bin" "$scratch/memory-linux.bin" ||
  fail "the module's memory after the Windows write differs from the Linux build's"
say "the module's memory after the Windows write equals the Linux build's, byte for byte"

# Nothing of the machine was linked into the prefix meanwhile.
for link in "$WINEPREFIX"/dosdevices/com*; do
  [ "$(readlink "$link")" = "$scratch/com$port" ] || fail "$link appeared: $(readlink "$link")"
done

compare() {
  awk -v name="$1" -v w="$2" -v l="$3" 'BEGIN {
    printf "windows: %-8s under wine %5.2f s, Linux %5.2f s (%+.0f %%)\n", name, w, l, (w / l - 1) * 100 }'
}
compare identify "$windows_identify" "$linux_identify"
compare write "$windows_write" "$linux_write"
say "(starting a program under wine takes $wine_start s of that)"
say "done in $((SECONDS - started)) s"
