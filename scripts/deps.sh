#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Ombrelis need, when missing.
#   scripts/deps.sh --tests   also what only the test suite needs: LibreOffice Calc, which reads
#                             the spreadsheet files back, and a display, a session bus and the
#                             accessibility bus, over which a test drives the window as a screen
#                             reader and a keyboard do
set -euo pipefail

# The build: compiler, CMake, Ninja, Qt; the faces and Qt's French catalogue are embedded into
# the program at build time, so the program itself needs neither package when it runs.
# The tests: GoogleTest, clang with its sanitizer and fuzzer runtimes, numpy for the README's
# snippets.
# ombrelis-log writes workbooks with libxlsxwriter, whose pkg-config file asks for zlib at link
# time although the package does not bring its headers and link file.
packages=(build-essential cmake ninja-build qt6-base-dev fonts-liberation2 qt6-translations-l10n
          libgtest-dev libgmock-dev clang libclang-rt-dev python3 python3-numpy pkg-config
          libxlsxwriter-dev zlib1g-dev)
if [[ "${1:-}" == --tests ]]; then
    packages+=(libreoffice-calc-nogui xvfb dbus at-spi2-core python3-pyatspi xdotool)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
