#!/usr/bin/env bash
# Installs what this project needs to build, test and run on Debian 12, when
# it is missing. Safe to run again: it installs nothing that is present.
set -euo pipefail

packages=(g++ cmake ninja-build libgtest-dev libgmock-dev
          qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev xvfb xauth
          poppler-utils   # pdftotext reads the printed report back in the tests
          dpkg-dev file   # cpack -G DEB takes the package's dependencies from the linked libraries
          desktop-file-utils appstream   # the installation test validates the desktop entry and metainfo
          clang-format    # the format check of the test command
          libssl-dev      # SHA-256 of the configuration fingerprints
          nlohmann-json3-dev   # the tests parse q5480ctl's JSON output
          clang libclang-rt-dev   # the fuzzers: clang with libFuzzer and the sanitizers
          # The Windows build, checked under wine: the cross compiler with
          # std::thread (the -posix flavour), GoogleTest's sources to build
          # for it, and wine to run the programs.
          g++-mingw-w64-x86-64-posix googletest wine wine64)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  sudo=""
  if [ "$(id -u)" != 0 ]; then sudo=sudo; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
