# Shared by scripts/run and scripts/test: install what is missing, then configure and build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(qt6-base-dev qt6-multimedia-dev qt6-svg-dev libxtst-dev libgtest-dev libbenchmark-dev
          cmake ninja-build g++ xvfb xauth poppler-utils nlohmann-json3-dev
          dpkg-dev desktop-file-utils appstream
          clang libclang-rt-dev)  # the fuzz targets (CTest fuzz_smoke): clang and its libFuzzer runtime

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build_preset() {
    local preset="$1"
    shift
    cmake --preset "$preset" "$@" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
}
