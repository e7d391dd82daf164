#!/usr/bin/env bash
# Copies the pictures the end-to-end suite's guided tour made (artifacts/demo/, see
# scripts/run.sh) into docs/images/, where the README shows them. Run it after the tests
# when the look of a window has changed, and commit the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
tour="${TASTOMAT_ARTIFACTS:-artifacts}/demo"
windows=(badge settings parameters info)
for name in "${windows[@]}"; do
    if [ ! -f "$tour/windows/$name.png" ]; then
        echo "missing $tour/windows/$name.png: run scripts/test.sh (or scripts/run.sh --no-wait) first" >&2
        exit 1
    fi
done
mkdir -p docs/images
for name in "${windows[@]}"; do cp "$tour/windows/$name.png" "docs/images/$name.png"; done
# The whole screen with the info dialog open, at half size.
convert "$(ls "$tour"/*-info.png | head -1)" -resize 50% docs/images/screen.png
ls -l docs/images
