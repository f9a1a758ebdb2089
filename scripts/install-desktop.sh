#!/bin/sh
# Adds Velmora to the current user's desktop menu: the desktop entry, pointing at the program
# folder given (dist/Velmora by default), and the icon in the hicolor theme.
# DATA_HOME (default $XDG_DATA_HOME or ~/.local/share) says where they go.
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
DIST="$(cd "${1:-$ROOT/dist/Velmora}" && pwd)"
DATA_HOME="${DATA_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}}"
APPS="$DATA_HOME/applications"
ICONS="$DATA_HOME/icons/hicolor"
mkdir -p "$APPS" "$ICONS/64x64/apps" "$ICONS/scalable/apps"
cp "$DIST/velmora.png" "$ICONS/64x64/apps/it.velmora.Velmora.png"
cp "$DIST/velmora.svg" "$ICONS/scalable/apps/it.velmora.Velmora.svg"
# Exec holds the program's path quoted, with \ " ` $ escaped, so a folder with spaces still
# starts; both keys are strings of the entry, whose backslashes are doubled once more.
program="$DIST/Velmora"
quoted=$(printf '%s' "$program" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g')
plain=$(printf '%s' "$program" | sed -e 's/\\/\\\\/g')
while IFS= read -r line; do
  case "$line" in
    Exec=*) printf 'Exec="%s"\n' "$quoted" ;;
    TryExec=*) printf 'TryExec=%s\n' "$plain" ;;
    *) printf '%s\n' "$line" ;;
  esac
done < "$DIST/it.velmora.Velmora.desktop" > "$APPS/it.velmora.Velmora.desktop.tmp"
mv "$APPS/it.velmora.Velmora.desktop.tmp" "$APPS/it.velmora.Velmora.desktop"
# Menus and icon caches pick the new entry up when their tools are there.
command -v update-desktop-database > /dev/null && update-desktop-database -q "$APPS" || true
command -v gtk-update-icon-cache > /dev/null && gtk-update-icon-cache -q -t "$ICONS" 2> /dev/null || true
echo "Velmora aggiunto al menu delle applicazioni ($APPS/it.velmora.Velmora.desktop)."
