#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, but
# only those that are missing, so a prepared machine is not touched at all.
set -euo pipefail

packages=(
  cmake g++ make ninja-build pkg-config
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins libcups2-dev
  libsqlite3-dev libqpdf-dev libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils qpdf fonts-dejavu-core fonts-liberation2 dpkg-dev
)
# The print server that the printing tests start on a socket of their own;
# without its recommended services (printer discovery and the like).
lean=(cups-daemon)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
missing_lean=()
for p in "${lean[@]}"; do
  installed "$p" || missing_lean+=("$p")
done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_lean[@]} -eq 0 ] && exit 0
all=("${missing[@]}" "${missing_lean[@]}")

echo "Installing missing packages: ${all[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
  else
    echo "error: these packages are missing and this is not root, nor is sudo available:" >&2
    echo "  ${all[*]}" >&2
    echo "Install them as root (apt-get install ...) and run make again." >&2
    exit 1
  fi
fi
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi
if [ ${#missing_lean[@]} -gt 0 ]; then
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${missing_lean[@]}"
fi
