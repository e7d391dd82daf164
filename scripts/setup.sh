#!/usr/bin/env bash
# Installs what building and testing Tastomat needs on a Debian machine (as root, or with
# sudo). Only missing packages are installed, so a second run is quick.
set -euo pipefail

packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool
          x11-utils x11-xserver-utils imagemagick googletest locales python3 fonts-liberation
          clang-tidy clang-format clang-14 libclang-rt-14-dev liblnk-utils fp-utils libchm-bin
          libbenchmark-dev python3-xlib openssl ca-certificates fuse python3-fusepy)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine reports German as the user language and uses German formats only when the host
# has the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
    echo "Generating the de_DE.UTF-8 locale"
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
        echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
