#!/bin/sh
# Runs enchant_clients.py through Enchant 2.8.2 and a provider built against
# it. Enchant is built from TARBALL once into CACHE (it takes minutes) and
# kept there; QuenvarSpell is installed from BUILD into CACHE, the provider
# built there against both with the compiler flags FLAGS. The test copies
# Enchant into a folder of its own and adds the provider to its providers;
# its clients (Enchant's programs, python3-enchant and gspell, which load
# libenchant-2.so.2 by name) find that copy through LD_LIBRARY_PATH. Exit
# status 77 (skipped) without the tarball.
#
#   enchant_2_8.sh TARBALL CACHE BUILD SOURCE FLAGS
set -eu
tarball=$1 cache=$2 build=$3 source=$4 flags=$5
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -f "$tarball" ]; then
  echo "enchant_2_8: no $tarball: skipped"
  exit 77
fi

enchant=$cache/enchant
if [ ! -f "$enchant/built" ]; then
  echo "building Enchant 2.8.2 into $enchant (once for this build tree)"
  rm -rf "$enchant" "$cache/enchant-source"
  mkdir -p "$cache/enchant-source"
  tar -xzf "$tarball" -C "$cache/enchant-source" --strip-components=1
  (
    cd "$cache/enchant-source"
    # Offline, with Debian's gnulib; Enchant's other providers are not
    # needed, nor its HTML manuals.
    ./bootstrap --skip-git --gnulib-srcdir=/usr/share/gnulib &&
      ./configure --prefix="$enchant" --disable-static --enable-relocatable \
        --without-aspell --without-hspell --without-hunspell --without-nuspell \
        --without-voikko --without-zemberek --without-applespell DOXYGEN=true &&
      make -j2 nodist_doc_DATA= && make install nodist_doc_DATA=
  ) > "$cache/enchant-build.log" 2>&1 || {
    tail -n 30 "$cache/enchant-build.log"
    exit 1
  }
  rm -rf "$cache/enchant-source"
  touch "$enchant/built"
fi

cmake --install "$build" --prefix "$cache/quenvarspell" > /dev/null
PKG_CONFIG_PATH=$enchant/lib/pkgconfig cmake -S "$here/provider_build" \
  -B "$cache/provider" -G Ninja -DQUENVAR_SOURCE_DIR="$source" \
  -DCMAKE_PREFIX_PATH="$cache/quenvarspell" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  "-DCMAKE_CXX_FLAGS=$flags" > /dev/null
cmake --build "$cache/provider" > /dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -a "$enchant" "$work/enchant"
mkdir -p "$work/enchant/lib/enchant-2"
cp "$cache/provider/enchant-2/enchant_quenvarspell.so" "$work/enchant/lib/enchant-2/"
mkdir "$work/config"
export ENCHANT_CONFIG_DIR="$work/config" HOME="$work" \
  LD_LIBRARY_PATH="$work/enchant/lib" PATH="$work/enchant/bin:$PATH"
/usr/bin/python3 "$here/enchant_clients.py" 2.8.2
