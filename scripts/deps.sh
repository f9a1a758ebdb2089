#!/bin/sh
# Installs what Velmora needs to build, run and test on Debian 12; does nothing when all is there.
set -eu
PACKAGES="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-translations-l10n \
libgl-dev libgtest-dev libjpeg-dev libxlsxwriter-dev libzip-dev fonts-liberation fonts-dejavu-core \
xvfb xauth poppler-utils python3-docx python3-openpyxl clang libclang-common-14-dev"
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
