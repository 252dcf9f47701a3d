#!/usr/bin/env bash
# Two processes of the headless network match play one match on loopback:
# net_match.sh TOOL (decide | abort | rejoin). Each checks its own side (phase 6 reached, one
# decision, the lives); here every position one side took from the other,
# turned back by half a turn, must be one the other side published. In rejoin
# a first joiner agrees character 8 and leaves while the host waits for it to
# load; the match is then played with a second joiner on character 3.
set -u
tool=$1
mode=$2
host_flags=()
join_flags=()
if [ "$mode" = abort ]; then
  host_flags=(--expect-abort)
  join_flags=(--quit-at 100)
fi
if [ "$mode" = rejoin ]; then
  host_flags=(--expect-left ひかり)
fi
dir=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$dir"
}
trap cleanup EXIT

"$tool" --host --port-file "$dir/port" --out "$dir/host.pos" --limit-ms 60000 "${host_flags[@]}" &
host=$!
pids+=("$host")
for _ in $(seq 1 100); do
  [ -s "$dir/port" ] && break
  sleep 0.05
done
[ -s "$dir/port" ] || { echo "no port" >&2; exit 1; }
if [ "$mode" = rejoin ]; then
  "$tool" --join "$(cat "$dir/port")" --out "$dir/left.pos" --limit-ms 60000 \
    --name ひかり --chara 8 --leave-in-ready-wait || { echo "first joiner failed" >&2; exit 1; }
fi
"$tool" --join "$(cat "$dir/port")" --out "$dir/join.pos" --limit-ms 60000 "${join_flags[@]}"
joiner=$?
wait "$host"
hosted=$?
echo "host $hosted, joiner $joiner"
[ "$hosted" -eq 0 ] && [ "$joiner" -eq 0 ] || exit 1
[ "$mode" = abort ] && exit 0

# mirrored FROM TO: the positions TO took, turned back, missing from what
# FROM published; and how many TO took.
check() {
  local from=$1 to=$2
  awk '$1 == "pub" { print $2, $3 }' "$from" | sort -u > "$dir/pub"
  awk '$1 == "mir" { print 163840 - $2, 122880 - $3 }' "$to" | sort -u > "$dir/mir"
  local taken missing
  taken=$(wc -l < "$dir/mir")
  missing=$(comm -13 "$dir/pub" "$dir/mir" | wc -l)
  echo "$to: $taken positions taken, $missing not published by the peer"
  [ "$taken" -ge 20 ] && [ "$missing" -eq 0 ]
}
check "$dir/host.pos" "$dir/join.pos" && check "$dir/join.pos" "$dir/host.pos"
