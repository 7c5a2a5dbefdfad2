# Finds Debian's 64-bit Wine loader and its wineserver. Sourced.
if [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
else
  wine=$(command -v wine64 || command -v wine || echo wine)
fi
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

# use_wine_prefix PREFIX [DLL_OVERRIDES]: the environment for a quiet 64-bit
# prefix that never shows the Mono or Gecko installer dialogs.
use_wine_prefix() {
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="${2:+$2;}mscoree,mshtml="
}

# make_wine_prefix [LOG]: fills $WINEPREFIX and waits until Wine is done.
make_wine_prefix() {
  "$wine" wineboot -i </dev/null >"${1:-/dev/null}" 2>&1
  "$wineserver" -w
}
