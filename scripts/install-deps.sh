#!/usr/bin/env bash
# Installs every Debian package the player needs to build, run and test.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config git
  # Qt 6
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  # Qt's own texts (file dialogs, standard buttons) in Korean and Japanese
  qt6-translations-l10n
  libqt6opengl6-dev qt6-svg-dev qt6-webengine-dev qt6-webengine-dev-tools qt6-qpa-plugins
  libgl-dev libegl-dev libxkbcommon-dev
  # playback and media
  libmpv-dev mpv libavformat-dev libavcodec-dev libavutil-dev libswscale-dev ffmpeg
  # firmware page and packages
  libxml2-dev libzip-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool
  # the download benchmark's peers and its local server
  curl unzip python3 bc
  libclang-rt-14-dev clang clang-format
  # bundled web assets (map pages, icons, district data)
  nodejs npm
  # interface fonts for Korean and Japanese
  fonts-noto-cjk
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$p")
  fi
done

# node and npm may come from outside Debian's packages on some machines
if command -v node >/dev/null && command -v npm >/dev/null; then
  filtered=()
  for p in "${missing[@]}"; do
    [[ "$p" == nodejs || "$p" == npm ]] || filtered+=("$p")
  done
  missing=("${filtered[@]}")
fi

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
