#!/usr/bin/env bash
# Shared by scripts/run, scripts/test and .ci/run: install what is missing, then build.
set -euo pipefail

KARVENA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Installs every package of scripts/packages.txt that dpkg does not report as installed.
karvena_install_packages() {
  local wanted missing=()
  wanted=$(grep -v -E '^\s*(#|$)' "$KARVENA_ROOT/scripts/packages.txt")
  for pkg in $wanted; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# Configures and builds into the given folder (default build/) with extra CMake arguments.
karvena_build() {
  local dir="${1:-$KARVENA_ROOT/build}"
  shift || true
  cmake -S "$KARVENA_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="${KARVENA_BUILD_TYPE:-RelWithDebInfo}" "$@"
  cmake --build "$dir" --parallel "$(nproc)"
}
