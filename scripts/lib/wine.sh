# Finds Debian's 64-bit Wine loader and its wineserver. Sourced.
if [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
else
  wine=$(command -v wine64 || command -v wine || echo wine)
fi
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
