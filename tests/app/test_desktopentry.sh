#!/bin/sh
# The desktop entry as built, and as installed for a user by scripts/install-desktop.sh into a
# program folder whose path needs quoting: both pass desktop-file-validate, the installed one
# starts the program of that folder, and the icons are in the hicolor theme.
# Arguments: the source folder and the build folder.
set -eu
SRC="$1"
BUILD="$2"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FALLITO: $*"; exit 1; }

desktop-file-validate "$BUILD/it.velmora.Velmora.desktop" || fail "voce del menu costruita non valida"

DIST="$WORK/Programmi \$HOME \"prova\"/Velmora"
mkdir -p "$DIST"
cp "$BUILD/it.velmora.Velmora.desktop" "$SRC/assets/velmora.png" "$SRC/assets/velmora.svg" "$DIST/"
printf '#!/bin/sh\necho avviato\n' > "$DIST/Velmora"
chmod +x "$DIST/Velmora"
DATA_HOME="$WORK/share" sh "$SRC/scripts/install-desktop.sh" "$DIST" > /dev/null

ENTRY="$WORK/share/applications/it.velmora.Velmora.desktop"
desktop-file-validate "$ENTRY" || fail "voce del menu installata non valida"
exec_line="$(grep '^Exec=' "$ENTRY")"
[ "$exec_line" = 'Exec="'"$WORK"'/Programmi \\$HOME \\"prova\\"/Velmora/Velmora"' ] || fail "Exec: $exec_line"
grep -qx "TryExec=$DIST/Velmora" "$ENTRY" || fail "TryExec: $(grep '^TryExec=' "$ENTRY")"
grep -qx 'Icon=it.velmora.Velmora' "$ENTRY" || fail "Icon"
[ -s "$WORK/share/icons/hicolor/64x64/apps/it.velmora.Velmora.png" ] || fail "icona 64x64 mancante"
[ -s "$WORK/share/icons/hicolor/scalable/apps/it.velmora.Velmora.svg" ] || fail "icona scalabile mancante"
echo "1 passed, 0 failed"
