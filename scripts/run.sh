#!/usr/bin/env bash
# Installs what is missing, builds and starts the calculator.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build -DKALVITRA_BUILD_TESTS=OFF -DKALVITRA_BUILD_BENCH=OFF
printf 'D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\nH=600\nM=420\nZ=3\ndpxs=0.97\n' |
  build/cli/kalvitra-cli stages gross-area net-area stack weight
