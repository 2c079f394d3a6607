#!/bin/sh
# zema installed as a user would have it: `cmake --install` into a fresh prefix and the
# Debian package unpacked into a throwaway root. From each, zema-run runs the demo
# plug-in with the installed host (the build tree out of its reach), and a CMake project
# outside the tree builds against the installed kit with find_package(zema).
# Usage: install_test.sh BUILD-DIR SOURCE-DIR
set -eu
build=$1
source=$2
work=$(mktemp -d /tmp/zema-install-test-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

# Runs the demo through an installed zema-run from a folder outside the build tree and
# checks its frame.
run_demo() {
  prefix=$1
  cp -a "$prefix" "$work/moved" # a copy elsewhere: nothing may point back at the build
  (cd "$work" && "$work/moved/bin/zema-run" --private --duration 2 --size 160x80 \
    --snapshot "$work/frame.png" --serve "$work/moved/share/zema/demo/site" \
    "$work/moved/lib/zema/demo/libzema_demo.so" http://demo.zema.invalid/index.html) \
    >"$work/run.log" 2>&1 || { cat "$work/run.log"; fail "the installed zema-run failed"; }
  [ -s "$work/frame.png" ] || fail "no frame from the installed demo"
  grep -q "frames at 160x80" "$work/run.log" || { cat "$work/run.log"; fail "no frames"; }
  rm -rf "$work/moved" "$work/frame.png"
}

# 1. cmake --install
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/zema-run bin/zema-host lib/zema/demo/libzema_demo.so \
  share/zema/demo/site/index.html include/zema/protocol/protocol.h \
  include/zema/controller/host_channel.h lib/libzema_channel.a lib/libzema_launcher.a \
  lib/pkgconfig/zema.pc lib/cmake/zema/zemaConfig.cmake share/doc/zema/protocol.md \
  share/man/man1/zema-run.1 share/man/man1/zema-host.1; do
  [ -e "$prefix/$f" ] || fail "cmake --install left out $f"
done
# No path of the build or the source tree in what the programs read at run time.
for f in bin/zema-run bin/zema-host; do
  if readelf -p .rodata "$prefix/$f" | grep -q -e "$build" -e "$source"; then
    fail "$f holds a path of the build tree"
  fi
done
run_demo "$prefix"

# 2. A third party's project, built against the installed kit.
mkdir -p "$work/thirdparty"
cat >"$work/thirdparty/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(thirdparty CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(zema REQUIRED)
add_executable(names main.cc)
target_link_libraries(names PRIVATE zema::channel zema::launcher)
CMAKE
cat >"$work/thirdparty/main.cc" <<'CXX'
#include <cstdio>
#include "controller/host_channel.h"
#include "controller/host_process.h"
int main() {
  zema::controller::HostChannel channel;
  std::printf("%s %u\n", zema::controller::messageName(MSG_FLUSH_2D).c_str(),
              zema::protocol::messageInfo(MSG_URL_RESPONSE).size);
}
CXX
cmake -S "$work/thirdparty" -B "$work/thirdparty/build" -DCMAKE_PREFIX_PATH="$prefix" \
  >"$work/tp.log" 2>&1 || { cat "$work/tp.log"; fail "find_package(zema) failed"; }
cmake --build "$work/thirdparty/build" >>"$work/tp.log" 2>&1 ||
  { cat "$work/tp.log"; fail "the third-party project did not build"; }
[ "$("$work/thirdparty/build/names")" = "MSG_FLUSH_2D 32" ] || fail "the kit answered wrongly"
# The same through pkg-config.
PKG_CONFIG_PATH="$prefix/lib/pkgconfig" c++ -o "$work/names-pc" "$work/thirdparty/main.cc" \
  $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs zema) ||
  fail "building with pkg-config failed"
[ "$("$work/names-pc")" = "MSG_FLUSH_2D 32" ] || fail "the pkg-config build answered wrongly"

# 3. The Debian package: its files and dependencies, then unpacked and run.
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null) || fail "cpack failed"
deb=$(ls "$work"/deb/zema_*_amd64.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for d in libfreetype6 libpng16-16 libsndfile1 libcurl4; do
  echo "$depends" | grep -q "$d" || fail "the package does not depend on $d: $depends"
done
dpkg-deb -f "$deb" Suggests | grep -q qemu-user || fail "the package does not suggest qemu-user"
dpkg-deb -c "$deb" >"$work/contents"
for f in ./usr/bin/zema-run ./usr/bin/zema-host ./usr/lib/zema/demo/libzema_demo.so \
  ./usr/share/man/man1/zema-run.1; do
  grep -q " $f\$" "$work/contents" || fail "the package lacks $f"
done
dpkg-deb -x "$deb" "$work/debroot"
run_demo "$work/debroot/usr"
echo "install test: passed"
