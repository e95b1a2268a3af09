#!/bin/sh
# Puts PrizeDraw into the desktop's applications menu for this user, pointing at this event
# folder (the program runs in the folder it lives in). Run it again after moving the folder.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
mkdir -p "$data/applications" "$data/icons/hicolor/256x256/apps"
cp "$here/prizedraw.png" "$data/icons/hicolor/256x256/apps/prizedraw.png"
sed -e "s|^Exec=.*|Exec=\"$here/prizedraw\"|" \
    -e "s|^Icon=.*|Icon=$data/icons/hicolor/256x256/apps/prizedraw.png\nPath=$here|" \
    "$here/prizedraw.desktop" > "$data/applications/prizedraw.desktop"
echo "$data/applications/prizedraw.desktop"
