# Debian packages the build, the program and the tests need; sourced by run.sh and test.sh.
OPGL_PACKAGES=(
  g++ gcc cmake ninja-build pkg-config git
  qt6-base-dev qt6-qpa-plugins libqt6opengl6-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev
  libgraphicsmagick++1-dev libsimpleini-dev
  fonts-liberation fonts-wqy-microhei
  libgtest-dev libbenchmark-dev libstb-dev
  xvfb xauth graphicsmagick
  desktop-file-utils appstream
  python3-pil
)

# Installs whatever of OPGL_PACKAGES is missing (needs root on a fresh machine).
opgl_install_packages() {
  local missing=()
  for p in "${OPGL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

# Configures and builds into build/ (Release, both cores).
opgl_build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build build --parallel "$(nproc)"
}
