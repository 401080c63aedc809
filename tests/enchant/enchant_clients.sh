#!/bin/sh
# Runs enchant_clients.py with the provider PROVIDER installed among the
# system's Enchant providers and named first in the ordering, without
# touching the system: a private mount namespace gets a folder holding the
# system's providers and ours bind-mounted over the provider folder, and
# ENCHANT_CONFIG_DIR points at an ordering file of our own. Exit status 77
# (skipped) where mount namespaces are not available.
#
#   enchant_clients.sh PROVIDER
set -eu
provider=$1
here=$(cd "$(dirname "$0")" && pwd)
system=$(pkg-config --variable=libdir enchant-2)/enchant-2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/providers" "$work/config"
cp "$system"/*.so "$work/providers/"
ln -s "$provider" "$work/providers/"
# Debian's own ordering names providers for en_US and friends: ours must too.
for tag in '*' en en_US en_GB en_CA; do
  echo "$tag:quenvarspell,hunspell,aspell" >> "$work/config/enchant.ordering"
done
export ENCHANT_CONFIG_DIR="$work/config" HOME="$work"
if ! unshare -m true 2>/dev/null; then
  echo "enchant_clients: no mount namespaces here: skipped"
  exit 77
fi
unshare -m sh -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' sh \
  "$work/providers" "$system" /usr/bin/python3 "$here/enchant_clients.py" \
  "$(pkg-config --modversion enchant-2)"
