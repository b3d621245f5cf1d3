#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing MERIDAVOLT needs.
# Idempotent: only missing packages are installed, and the package lists are
# refreshed only when something is missing. Extra package names given as
# arguments are installed too (the fuzzing script asks for clang this way).
set -euo pipefail

packages=(
  # toolchain and test frameworks
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  # core libraries
  libglib2.0-dev libicu-dev nlohmann-json3-dev libssl-dev libcurl4-openssl-dev
  # user interface and web views
  libgtkmm-4.0-dev libwebkitgtk-6.0-dev
  libgl1-mesa-dri libegl-mesa0
  # the start-up check of OpenGL on the display asks EGL which driver it uses
  libegl-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-libav gstreamer1.0-gl
  # desktop integration: X11 hot key and clipboard owner changes
  libx11-dev libxfixes-dev
  # text recognition
  libtesseract-dev libleptonica-dev tesseract-ocr tesseract-ocr-jpn tesseract-ocr-eng
  # WebP images for the clipboard memory (GdkPixbuf ships no WebP loader)
  webp-pixbuf-loader
  # fonts so that Japanese text renders
  fonts-noto-cjk
  # virtual display and tools that window tests drive
  xvfb xauth xdotool xclip x11-utils imagemagick dbus-x11
  # a window manager for the quick launcher's focus and stacking tests and the idle benchmark
  openbox
  # release tooling used by update tests
  openssl
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
