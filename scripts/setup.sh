#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test QD3Control (clang and its
# runtime libclang-rt-14-dev, which holds libFuzzer, for scripts/fuzz.sh).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format clang-tidy
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgtk-3-dev libcairo2-dev libfreetype-dev librsvg2-dev libstb-dev
  librtmidi-dev librtaudio-dev jackd2 libjack-jackd2-dev zlib1g-dev
  xvfb xauth fonts-roboto fonts-dseg fonts-fork-awesome fonts-dejavu-core
  appstream desktop-file-utils lintian dpkg-dev fakeroot
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# jackd2 asks about realtime priority; the default answer is fine for us.
echo "jackd2 jackd/tweak_rt_limits boolean false" | $sudo debconf-set-selections
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
