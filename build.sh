#!/usr/bin/env bash
# Installs the dependencies, builds, and either starts the game or runs the tests.
#   ./build.sh run    release build, then start the game on the bundled sample data
#   ./build.sh test   sanitised build, then the whole test suite headless
#   ./build.sh screens   sanitised build, then the screen suite, its reference pictures made anew
set -euo pipefail
cd "$(dirname "$0")"

# What building and running need; the tests add their own.
RUN_PACKAGES=(g++ cmake ninja-build pkg-config zlib1g-dev libpng-dev libjpeg62-turbo-dev libfreetype-dev lib3ds-dev
  libglew-dev libsdl2-dev libcurl4-openssl-dev libyaml-cpp-dev libgl-dev libglu1-mesa-dev libgtk-3-dev
  libgl1-mesa-dri libmd-dev fonts-dejavu-core)
TEST_PACKAGES=(googletest libgtest-dev libgmock-dev libxtst-dev xvfb xauth python3 fonts-wqy-microhei
  assimp-testmodels alsa-utils)

# Installs the packages not yet installed, as root or through sudo. Without either, or when the
# installation fails, prints the command to run as root and stops.
install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local install=(apt-get install -y --no-install-recommends "${missing[@]}")
  local sudo=()
  [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1 && sudo=(sudo)
  if [ "$(id -u)" -ne 0 ] && [ ${#sudo[@]} -eq 0 ] ||
     ! { "${sudo[@]}" apt-get update -qq && "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive "${install[@]}" -qq; }; then
    echo "$0: packages missing: ${missing[*]}" >&2
    echo "Install them as root, then run $0 again:" >&2
    echo "  ${install[*]}" >&2
    exit 1
  fi
}

build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
}

# The sanitised build with the tests, and the environment the tests run in.
build_tests() {
  install_packages "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
  build build-test -DCMAKE_BUILD_TYPE=Debug -DVD_SANITIZE=ON -DVD_WERROR=ON -DVD_TESTS=ON
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe VD_HEADLESS=1
}

case "${1:-}" in
  run)
    install_packages "${RUN_PACKAGES[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cd build && exec ./VadadiDazidev
    ;;
  test)
    build_tests
    cd build-test
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure --timeout 600 -j "$(nproc)"
    ;;
  screens)
    build_tests
    cd build-test
    VD_SCREENS_UPDATE=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure --timeout 600 \
      -j 3 -L screens
    ;;
  *)
    echo "usage: $0 run|test|screens" >&2
    exit 2
    ;;
esac
