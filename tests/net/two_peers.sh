#!/usr/bin/env bash
# Two peer processes on loopback play the fixed exchange, directly or through
# a lossy relay: two_peers.sh TOOL (direct | relay). Every process has a time
# limit of its own and is ended here if it outlives the run.
set -u
tool=$1
mode=$2
dir=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$dir"
}
trap cleanup EXIT

wait_for_file() {
  for _ in $(seq 1 100); do
    [ -s "$1" ] && return 0
    sleep 0.05
  done
  echo "no port in $1" >&2
  return 1
}

"$tool" --host --port-file "$dir/host" --seed 28 --frames 300 --limit-ms 40000 &
host=$!
pids+=("$host")
wait_for_file "$dir/host" || exit 1
port=$(cat "$dir/host")
if [ "$mode" = relay ]; then
  "$tool" --relay "$port" --port-file "$dir/relay" --seed 5 --loss 10 --delay 40 --limit-ms 45000 \
    > "$dir/relay.out" &
  relay=$!
  pids+=("$relay")
  wait_for_file "$dir/relay" || exit 1
  port=$(cat "$dir/relay")
fi
"$tool" --join "$port" --seed 28 --frames 300 --limit-ms 40000
joiner=$?
wait "$host"
hosted=$?
echo "host $hosted, joiner $joiner"
[ "$hosted" -eq 0 ] && [ "$joiner" -eq 0 ] || exit 1
if [ "$mode" = relay ]; then
  wait "$relay"
  cat "$dir/relay.out"
  # The line was bad indeed: datagrams were lost on the way.
  read -r _ _ passed _ dropped < "$dir/relay.out"
  [ "${passed:-0}" -gt 100 ] && [ "${dropped:-0}" -gt 0 ]
fi
