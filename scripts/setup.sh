#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Runs as root on a fresh Debian 12 machine (as CI does); a no-op when all is there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libutf8proc-dev libabsl-dev libcli11-dev libgsf-1-dev nlohmann-json3-dev
  libxml2-dev libzip-dev attr gnumeric libreoffice-calc-nogui python3-pytest python3-uno
  poppler-utils fonts-liberation2
  libreoffice-dev libreoffice-dev-common
  clang-16 libclang-rt-16-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
