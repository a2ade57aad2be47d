#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages of scripts/packages.txt that are missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
missing=()
while read -r pkg; do
  pkg=${pkg%%#*}
  pkg=$(echo "$pkg" | xargs)
  [ -z "$pkg" ] && continue
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done < "$here/packages.txt"
[ ${#missing[@]} -gt 0 ] || exit 0

# Another apt (an automatic update, a package manager left open) may hold
# apt's locks: waited for up to five minutes, then said so.
wait_s=300
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
apt_get() { # apt-get arguments...
  local log rc start=$SECONDS said=
  log=$(mktemp)
  while :; do
    rc=0
    # The packages' own lock apt waits for itself; the package lists' lock
    # (apt-get update) it does not.
    $SUDO env DEBIAN_FRONTEND=noninteractive \
      apt-get -o DPkg::Lock::Timeout="$wait_s" "$@" 2>&1 | tee "$log" || rc=$?
    if [ "$rc" -ne 0 ] && grep -q 'Could not get lock' "$log" &&
      [ $((SECONDS - start)) -lt "$wait_s" ]; then
      [ -n "$said" ] || echo "Another program is using apt; waiting for it (up to $((wait_s / 60)) minutes)..."
      said=1
      sleep 5
      continue
    fi
    break
  done
  if [ "$rc" -ne 0 ] && grep -q 'Could not get lock' "$log"; then
    echo "install-deps.sh: apt is still busy with another program after $((wait_s / 60)) minutes;" \
      "run this again once it has finished." >&2
  fi
  rm -f "$log"
  return "$rc"
}
echo "Installing: ${missing[*]}"
apt_get update -qq
apt_get install -y -qq --no-install-recommends "${missing[@]}"
