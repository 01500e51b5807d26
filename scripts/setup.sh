# Shared by scripts/run and scripts/test: installs what is missing and builds one configuration.
# Sourced, not run.

set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What building and running the program needs; the tests add their own tools.
run_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev libqt6svg6
    libjpeg62-turbo-dev libgif-dev libpng-dev
    fonts-ipafont-gothic
)
test_packages=(
    "${run_packages[@]}"
    libgtest-dev libbenchmark-dev
    xvfb xauth
    clang-format
    desktop-file-utils
)

# install_missing <package...>
install_missing() {
    local missing=()
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing: ${missing[*]}"
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Kestrane needs these Debian packages: ${missing[*]}" >&2
            echo "Install them as root (apt-get install ${missing[*]}) and run this again." >&2
            exit 1
        fi
        as_root=(sudo)
    fi
    # Waits for another running install instead of failing on the package lock.
    local apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900)
    "${apt[@]}" update
    "${apt[@]}" install -y --no-install-recommends "${missing[@]}"
}

# The run and the tests share one release build, so switching between them rebuilds nothing of
# the program; the run leaves out the tests and benchmarks, whose libraries it does not install.
release_options=(-DCMAKE_BUILD_TYPE=Release -DKESTRANE_WERROR=ON)
run_options=("${release_options[@]}" -DBUILD_TESTING=OFF -DKESTRANE_BENCHMARKS=OFF)
test_options=("${release_options[@]}" -DBUILD_TESTING=ON -DKESTRANE_BENCHMARKS=ON)

# build <folder> <target or "all"> <cmake options...>
build() {
    local folder="$repo/build/$1" target="$2"
    shift 2
    cmake -S "$repo" -B "$folder" -G Ninja "$@" >/dev/null
    cmake --build "$folder" --target "$target"
}
