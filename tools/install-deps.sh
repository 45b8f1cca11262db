#!/usr/bin/env bash
# Installs from Debian's packages whatever this machine lacks to build, test and run Roadflux.
# Idempotent: when everything is present it installs nothing.
set -euo pipefail
packages=(
  cmake g++ make clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev libnlopt-cxx-dev libboost-dev nlohmann-json3-dev
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libxkbcommon-dev fonts-dejavu-core
  xvfb xauth imagemagick xdotool parallel procps valgrind
  dpkg-dev file help2man librsvg2-bin man-db desktop-file-utils shared-mime-info
  slurmctld slurmd slurm-client munge
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
