#!/usr/bin/env bash
# Installs the Debian packages that building and testing Brevix need, and only
# those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-wine fonts-dejavu-core
  clang clang-format libclang-rt-14-dev git
  locales
  help2man librsvg2-bin man-db dpkg-dev desktop-file-utils appstream
  shared-mime-info bash-completion
  nlohmann-json3-dev python3-jsonschema
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
