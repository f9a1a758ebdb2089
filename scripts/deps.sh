#!/bin/sh
# Installs, on Debian 12, the packages Velmora needs for what is asked and does nothing when all
# is there:
#   run    what the program needs while it runs
#   build  what building it needs
#   test   what its tests and the test command need
# e.g. "deps.sh run build". Without arguments: run and build.
set -eu

# Running: the opener without which no document, manual, folder or link opens; the fonts of the
# screens and printouts (Liberation Mono stands in for Courier New); the Italian texts of Qt's
# standard buttons and dialogs.
RUN="xdg-utils fonts-liberation fonts-dejavu-core qt6-translations-l10n"
# Building: compiler and build tools, Qt (its headers bring moc and OpenGL's), the writers of
# spreadsheets and Word packages.
BUILD="build-essential cmake ninja-build pkg-config qt6-base-dev libxlsxwriter-dev libzip-dev"
# Testing: GoogleTest; the readers that check the documents (python-docx, openpyxl), LibreOffice
# to convert them, poppler's pdftotext and pdfinfo for printouts and conversions; the check of the
# desktop entry; clang with libFuzzer for the fuzzing step.
TEST="libgtest-dev python3-docx python3-openpyxl libreoffice-writer-nogui libreoffice-calc-nogui poppler-utils \
desktop-file-utils clang libclang-common-14-dev"

[ $# -eq 0 ] && set -- run build
PACKAGES=""
for group in "$@"; do
  case "$group" in
    run) PACKAGES="$PACKAGES $RUN" ;;
    build) PACKAGES="$PACKAGES $BUILD" ;;
    test) PACKAGES="$PACKAGES $TEST" ;;
    *) echo "Gruppo sconosciuto: $group (run, build o test)" >&2; exit 2 ;;
  esac
done

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installazione dei pacchetti mancanti:$missing"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
# shellcheck disable=SC2086
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
