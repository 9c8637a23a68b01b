# Sourced by run.sh and test.sh: the packages the build needs, and a
# function that installs the ones named as arguments that are not installed
# yet (through sudo when not root).
build_packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n
  libzip-dev libfreexl-dev libxlsxwriter-dev libsqlite3-dev libpq-dev pxlib-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core poppler-utils
  qt6-svg-dev fonts-liberation2 xdg-utils
)
install_missing() {
  local missing=() p
  if ! command -v dpkg-query >/dev/null; then
    echo "dpkg-query not found: not a Debian system, installing nothing." >&2
    return 0
  fi
  for p in "$@"; do
    [[ $(dpkg-query -W -f='${Status}' "$p" 2>/dev/null) == "install ok installed" ]] || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  ((EUID == 0)) || sudo=(sudo)
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
}
