#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when missing.
# Safe to run again: it installs nothing when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev
  libssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core iproute2
  clang-format
  socat
  libxml2-utils
  smitools snmp
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# The OPC UA browse runs a node helper: node and npm are needed, from Debian when missing.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browse helper and its locked dependencies go into build/opcua-browse, which every build
# tree's program finds; the source tree stays clean. Installed again only when the lock changed.
root="$(cd "$(dirname "$0")/.." && pwd)"
helper_src="$root/src/editors/iot/opcua-browse"
helper_dst="$root/build/opcua-browse"
mkdir -p "$helper_dst"
cp "$helper_src/browse.js" "$helper_src/package.json" "$helper_dst/"
if ! cmp -s "$helper_src/package-lock.json" "$helper_dst/node_modules/.zfw-lock.json"; then
  cp "$helper_src/package-lock.json" "$helper_dst/"
  (cd "$helper_dst" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
  cp "$helper_src/package-lock.json" "$helper_dst/node_modules/.zfw-lock.json"
fi
