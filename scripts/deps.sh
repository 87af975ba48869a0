# Sourced by the other scripts: installs the Debian packages the build needs
# when any is missing (apt-get update runs once, only then).
VANDOR_PACKAGES="build-essential cmake ninja-build ccache qt6-base-dev qt6-qpa-plugins libgl-dev
zlib1g-dev libdeflate-dev pkgconf libjpeg62-turbo-dev libpugixml-dev libgtest-dev libgmock-dev libbenchmark-dev
xvfb xauth clang libclang-rt-14-dev llvm qt6-svg-dev libqt6svg6 xdotool imagemagick fonts-dejavu-core
fonts-liberation poppler-utils clang-format"

vandor_install_deps() {
  local missing=""
  for p in $VANDOR_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

vandor_build() {
  local dir="$1"; shift
  cmake -S "$VANDOR_ROOT" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j 2
}

# The unit tests and the fuzz targets under AddressSanitizer and UBSan, built
# with clang (libFuzzer comes with it).
vandor_build_sanitize() {
  CC=clang CXX=clang++ vandor_build "$VANDOR_ROOT/build-sanitize" -DVANDOR_SANITIZE=ON -DVANDOR_BUILD_FUZZ=ON \
    -DVANDOR_BUILD_BENCH=OFF "$@"
}

# A finding stops the program with a full report; leaks count as findings.
vandor_sanitizer_env() {
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
}

# Every C++ file in the tree's own style (.clang-format); a file that differs
# fails with the lines it would change. scripts/format applies the style.
vandor_cpp_files() {
  find "$VANDOR_ROOT/src" "$VANDOR_ROOT/tests" "$VANDOR_ROOT/tools" "$VANDOR_ROOT/bench" "$VANDOR_ROOT/fuzz" \
    -type f \( -name '*.cpp' -o -name '*.h' \) -print0
}

vandor_check_format() {
  vandor_cpp_files | xargs -0 clang-format --dry-run --Werror
}
