#!/usr/bin/env bash
# Times the Ansible collection and the command line for docs/performance.md, "Fleet": builds
# ezconfig-cli and gateway-sim in Release, then
#   fleet_bench.sh                      eight simulated gateways in one run against one
#                                       (bench/fleet_bench.py, about two minutes)
#   fleet_bench.sh fleet 100 [OPTIONS]  100 gateways at 9600 baud against one, with CPU time and
#                                       memory (bench/fleet_scale.py; --rounds, --forks, --baud)
#   fleet_bench.sh soak 1000            1,000 CLI writes with read-back against one simulator
# Needs ansible-core (scripts/setup installs it).
#   EZ_FLEET_BUILD_DIR=DIR   build there instead of build-bench
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${EZ_FLEET_BUILD_DIR:-$here/build-bench}
log=$build/fleet_bench.log
mkdir -p "$build"
: >"$log"
if ! cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >>"$log" 2>&1 ||
   ! cmake --build "$build" -j"${EZ_JOBS:-2}" --target ezconfig-cli gateway-sim >>"$log" 2>&1; then
  echo "fleet_bench: build failed, see $log" >&2
  exit 1
fi
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')
echo "Machine: $cpu, $(nproc) cores," \
     "load average $(cut -d' ' -f1-3 /proc/loadavg) before the run;" \
     "$(ansible-playbook --version 2>/dev/null | sed -n 1p); $(date -u +%F)"
echo
script=fleet_bench.py
case "${1:-}" in fleet | soak) script=fleet_scale.py ;; esac
python3 "$here/bench/$script" --cli "$build/cli/ezconfig-cli" \
  --sim "$build/sim/gateway-sim" "$@" 2> >(tee -a "$log" >&2)
