# Installs what building and testing Kestrin needs on Debian. Sourced.
#
# ensure_deps: each missing tool is mapped to its Debian package. As root
# they are installed with apt-get; otherwise the one command to run is
# printed and the script stops.

kestrin_missing_packages() {
  local -a missing=()
  need() {  # need PACKAGE TEST...: PACKAGE is missing unless the test holds
    local package=$1
    shift
    "$@" >/dev/null 2>&1 || missing+=("$package")
  }
  need cmake command -v cmake
  need g++ command -v g++
  need make command -v make
  need libgtest-dev test -f /usr/lib/x86_64-linux-gnu/cmake/GTest/GTestConfig.cmake
  need googletest test -f /usr/src/googletest/CMakeLists.txt
  need g++-mingw-w64-x86-64-posix command -v x86_64-w64-mingw32-g++-posix
  need binutils-mingw-w64-x86-64 command -v x86_64-w64-mingw32-windres
  need g++-mingw-w64-i686-posix command -v i686-w64-mingw32-g++-posix
  need binutils-mingw-w64-i686 command -v i686-w64-mingw32-windres
  need wine64 test -x /usr/lib/wine/wine64
  need wine command -v wineserver
  need bsdutils command -v script
  need clang-tidy command -v clang-tidy
  need cppcheck command -v cppcheck
  local package
  # Further packages a caller needs, space separated.
  for package in ${KESTRIN_EXTRA_PACKAGES:-}; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
      missing+=("$package")
  done
  echo "${missing[@]}"
}

ensure_deps() {
  local missing
  missing=$(kestrin_missing_packages)
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    # shellcheck disable=SC2086
    apt-get install -y -q $missing
  else
    echo "Missing packages. Run this once, then try again:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y $missing" >&2
    exit 1
  fi
}
