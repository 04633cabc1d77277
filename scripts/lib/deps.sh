# Windows forms of libraries that Debian ships only for Linux, built once per
# machine into $ORVIX_DEPS and reused by every checkout.
ORVIX_DEPS=${ORVIX_DEPS:-/var/cache/orvix-deps}
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# GoogleTest for one of the two Windows builds: i686 (in googletest/, where
# the 32-bit build has always found it) or x86_64 (in googletest-x86_64/).
build_mingw_googletest() {  # arch
  local arch=${1:-i686}
  local prefix="$ORVIX_DEPS/googletest"
  [ "$arch" = i686 ] || prefix="$ORVIX_DEPS/googletest-$arch"
  [ -f "$prefix/.done" ] && return
  echo "setup: building GoogleTest for mingw ($arch)"
  local work; work=$(mktemp -d)
  cmake -S /usr/src/googletest -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo_root/cmake/mingw-$arch.cmake" \
    -DCMAKE_CXX_STANDARD=20 -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$work" >/dev/null
  cmake --install "$work" >/dev/null
  rm -rf "$work"
  touch "$prefix/.done"
}

# SQLite's amalgamation is generated from Debian's source package, then compiled
# into a static library with the mingw compiler of one of the two Windows
# builds: i686 (in sqlite/) or x86_64 (in sqlite-x86_64/).
build_mingw_sqlite() {  # arch
  local arch=${1:-i686}
  local out="$ORVIX_DEPS/sqlite"
  [ "$arch" = i686 ] || out="$ORVIX_DEPS/sqlite-$arch"
  [ -f "$out/.done" ] && return
  echo "setup: building SQLite for mingw ($arch)"
  local work; work=$(mktemp -d)
  (cd "$work" && apt-get source -qq sqlite3 >/dev/null 2>&1)
  local srcdir; srcdir=$(find "$work" -maxdepth 1 -type d -name 'sqlite3-*' | head -n1)
  mkdir -p "$work/build" "$out/include" "$out/lib"
  (cd "$work/build" && "$srcdir/configure" >/dev/null && make sqlite3.c >/dev/null)
  "$arch-w64-mingw32-gcc-posix" -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION \
    -c "$work/build/sqlite3.c" -o "$work/build/sqlite3.o"
  "$arch-w64-mingw32-ar" rcs "$out/lib/libsqlite3.a" "$work/build/sqlite3.o"
  cp "$work/build/sqlite3.h" "$work/build/sqlite3ext.h" "$out/include/"
  rm -rf "$work"
  touch "$out/.done"
}

# pugixml's -dev package has no sources for a cross build; keep its .cpp here.
fetch_pugixml_source() {
  local out="$ORVIX_DEPS/pugixml"
  [ -f "$out/.done" ] && return
  echo "setup: fetching pugixml sources"
  local work; work=$(mktemp -d)
  (cd "$work" && apt-get source -qq pugixml >/dev/null 2>&1)
  local srcdir; srcdir=$(find "$work" -maxdepth 1 -type d -name 'pugixml-*' | head -n1)
  mkdir -p "$out"
  cp "$srcdir"/src/pugixml.cpp "$srcdir"/src/pugixml.hpp "$srcdir"/src/pugiconfig.hpp "$out/"
  rm -rf "$work"
  touch "$out/.done"
}
