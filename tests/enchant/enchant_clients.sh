#!/bin/sh
# Installs the Debian packages of PACKAGES into a private root and runs, as a
# user who has made Enchant prefer QuenvarSpell with quenvarspell-enchant,
# the installed tool and enchant_clients.py; then undoes the preference and
# checks that the user's ordering file is as it was. Nothing outside the
# test's folder changes: the packages are unpacked there, a private mount
# namespace lays their /usr over the system's, and HOME is the test's folder.
# Exit status 77 (skipped) where mount namespaces are not available.
#
#   enchant_clients.sh PACKAGES
set -eu
packages=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for package in "$packages"/*.deb; do
  dpkg-deb -x "$package" "$work/root"
done
mkdir -p "$work/.config/enchant"
# The user's own lines, which the preference must keep.
printf 'de_DE:aspell\nen_GB:hunspell,aspell\n' > "$work/.config/enchant/enchant.ordering"
cp "$work/.config/enchant/enchant.ordering" "$work/ordering.before"
unset XDG_CONFIG_HOME ENCHANT_CONFIG_DIR
export HOME="$work" VERSION="$(pkg-config --modversion enchant-2)"
if ! unshare -m true 2>/dev/null; then
  echo "enchant_clients: no mount namespaces here: skipped"
  exit 77
fi
unshare -m sh -euc '
  mount -t overlay overlay -o "lowerdir=$HOME/root/usr:/usr" /usr
  quenvarspell-enchant prefer
  echo recieve | quenvarspell list | grep -qx recieve
  echo "ok   the installed tool lists a misspelled word"
  /usr/bin/python3 "$1/enchant_clients.py" "$VERSION"
  quenvarspell-enchant undo
  if enchant-lsmod-2 -list-dicts | grep -qx "en_US (quenvarspell)"; then
    echo "FAIL quenvarspell-enchant undo: Enchant still prefers QuenvarSpell for en_US"
    exit 1
  fi
  cmp "$HOME/ordering.before" "$HOME/.config/enchant/enchant.ordering"
  echo "ok   quenvarspell-enchant undo leaves the lines of the user as they were"
' sh "$here"
