#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, but
# only those that are missing, so a prepared machine is not touched at all.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins
  libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils fonts-dejavu-core fonts-liberation2 dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
  else
    echo "error: these packages are missing and this is not root, nor is sudo available:" >&2
    echo "  ${missing[*]}" >&2
    echo "Install them as root (apt-get install ...) and run make again." >&2
    exit 1
  fi
fi
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
