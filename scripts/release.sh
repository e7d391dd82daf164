#!/usr/bin/env bash
# Makes the release: what the update check downloads, with its checksum beside it.
#   scripts/release.sh [update-server folder URL]
# The files land in build/win64/release/; put tastomat.ver and tastomat.zip into the
# server folder the program asks (default https://www.kobaltix.de/download/).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
configure=(--preset win64)
if [ $# -gt 0 ]; then configure+=("-DTASTOMAT_UPDATE_BASE_URL=$1"); fi
cmake "${configure[@]}" >/dev/null
cmake --build --preset win64 --target release

# The program in the archive runs from the page file when started from the stick.
python3 -B scripts/pe_swaprun.py check build/win64/release/tastomat.zip
cd build/win64/release
sha256sum -c tastomat.zip.sha256
echo "Release $(tr -d '\r' <tastomat.ver) in $PWD:"
ls -l tastomat.ver tastomat.zip tastomat.zip.sha256
unzip -l tastomat.zip 2>/dev/null || python3 -m zipfile -l tastomat.zip
