#!/usr/bin/env bash
# Prepares a demo event folder: the program, about 60 participant photos, three prize tiers
# with prize pictures and a settings file. Usage: make-demo-event.sh BUILD_DIR EVENT_DIR
set -euo pipefail
build=$1
event=$2
mkdir -p "$event"
cp "$build/prizedraw" "$event/prizedraw"
if [ ! -d "$event/photo" ]; then
    "$build/tools/photogen/photogen" --demo "$event"
fi
