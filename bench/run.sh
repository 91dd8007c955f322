#!/usr/bin/env bash
# Times bytewarp against `cat` and against the standard tool a user would
# reach for, on generated files, and prints one table of medians.
#
#   bash bench/run.sh                 # every operation, 256 MiB files, 3 rounds
#   SIZE_MIB=64 ROUNDS=5 bash bench/run.sh
#   ONLY='/p' bash bench/run.sh       # the operations whose label matches
#
# Before each timed run the outputs are deleted and a scratch file twice the
# input's size is written and deleted, so that every run writes into pages
# the machine has touched lately; tool, peer and cat runs alternate.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
size_mib=${SIZE_MIB:-256}
rounds=${ROUNDS:-3}
only=${ONLY:-}
work=${BENCH_DIR:-/tmp/bytewarp-bench}
mkdir -p "$work"

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBYTEWARP_TESTS=OFF >/dev/null
cmake --build "$root/build" >/dev/null
bw=$root/build/bytewarp

size=$((size_mib * 1024 * 1024))
rnd=$work/random.bin
txt=$work/text.txt
[[ -f $rnd && $(stat -c %s "$rnd") == "$size" ]] || head -c "$size" /dev/urandom >"$rnd"
[[ -f $txt && $(stat -c %s "$txt") == "$size" ]] || python3 "$root/bench/gen_text.py" "$txt" "$size"

clean() { rm -f "$work"/*.new "$work"/*_index.txt "$work"/*.out "$work"/random.bin.[0-9][0-9][0-9] "$work"/x[0-9]* "$work"/scratch; }

prime() {
  head -c $((2 * size)) /dev/zero >"$work/scratch"
  rm -f "$work/scratch"
}

# Prints "seconds peak_kib" for one run of a shell command.
timed() {
  clean
  prime
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f %M -o "$work/mem" bash -c "$1" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  echo "$(((end - start) / 1000000)) $(tail -n 1 "$work/mem")"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

printf '%-22s %10s %10s %-28s %10s %10s %9s\n' operation bytewarp_s peer_s peer ratio_peer ratio_cat peak_MiB
printf '%s\n' "$(printf '%.0s-' {1..106})"

# label | input | bytewarp arguments | peer name | peer command (IN, OUT set)
run_case() {
  local label=$1 in=$2 args=$3 peer=$4 peercmd=$5
  [[ -z $only || $label == *$only* ]] || return 0
  local bt=() pt=() ct=() mem=()
  for ((r = 0; r < rounds; r++)); do
    read -r t m < <(timed "cd '$work' && '$bw' '$(basename "$in")' $args")
    bt+=("$t"); mem+=("$m")
    # A peer that takes over 5 s is timed once: its median would not change the verdict.
    if [[ -n $peercmd ]] && ((${#pt[@]} == 0 || pt[0] < 5000)); then
      read -r t _ < <(timed "cd '$work' && IN='$in' OUT='$work/peer.out' && $peercmd")
      pt+=("$t")
    fi
    read -r t _ < <(timed "cat '$in' > '$work/cat.out'")
    ct+=("$t")
  done
  local b p c m
  b=$(printf '%s\n' "${bt[@]}" | median)
  c=$(printf '%s\n' "${ct[@]}" | median)
  m=$(printf '%s\n' "${mem[@]}" | sort -n | tail -n 1)
  p=-1
  [[ -n $peercmd ]] && p=$(printf '%s\n' "${pt[@]}" | median)
  awk -v l="$label" -v b="$b" -v p="$p" -v n="${peer:-(none)}" -v c="$c" -v m="$m" 'BEGIN {
    ps = p < 0 ? "-" : sprintf("%.3f", p/1000); pr = p <= 0 ? "-" : sprintf("%.2f", b/p)
    printf "%-22s %10.3f %10s %-28s %10s %10.2f %9.1f\n", l, b/1000, ps, n, pr, (c>0?b/c:0), m/1024 }'
  clean
}

perlblk() { echo "perl -e 'binmode STDIN; binmode STDOUT; \$/=\\$1; while(<STDIN>){ $2 }' < \"\$IN\" > \"\$OUT\""; }

# tr takes octal escapes; every byte value mapped to its complement.
forward=$(for ((i = 0; i < 256; i++)); do printf '\\%03o' "$i"; done)
backward=$(for ((i = 255; i >= 0; i--)); do printf '\\%03o' "$i"; done)
run_case "/m" "$rnd" "/m" "tr" "LC_ALL=C tr '$forward' '$backward' < \"\$IN\" > \"\$OUT\""
run_case "/u" "$rnd" "/u" "perl" "$(perlblk 65536 '$h = unpack("H*", $_); $h =~ s/(.)./$1/g; print pack("H*", $h)')"
run_case "/l" "$rnd" "/l" "perl" "$(perlblk 65536 '$h = unpack("H*", $_); $h =~ s/.(.)/$1/g; print pack("H*", $h)')"
run_case "/-" "$rnd" "/-" "" ""
run_case "/+" "$rnd" "/+" "" ""
run_case "/a abc xyz (random)" "$rnd" "/a abc xyz" "sed" "LC_ALL=C sed 's/abc/xyz/g' < \"\$IN\" > \"\$OUT\""
run_case "/a abc xyz (bbe)" "$rnd" "/a abc xyz" "bbe" "bbe -e 's/abc/xyz/' -o \"\$OUT\" \"\$IN\""
run_case "/a abc xyz (text)" "$txt" "/a abc xyz" "sed" "LC_ALL=C sed 's/abc/xyz/g' < \"\$IN\" > \"\$OUT\""
run_case "/b 0D0A 0A (text)" "$txt" "/b 0D0A 0A" "sed" "LC_ALL=C sed 's/\\r\$//' < \"\$IN\" > \"\$OUT\""
run_case "/b 0D0A 0A (bbe)" "$txt" "/b 0D0A 0A" "bbe" "bbe -e 's/\\x0d\\x0a/\\x0a/' -o \"\$OUT\" \"\$IN\""
run_case "/o -4096 XY" "$rnd" "/o -4096 XY" "perl" "$(perlblk 4096 'print $_, "XY"')"
run_case "/c 1000 100000000" "$rnd" "/c 1000 100000000" "dd" "dd if=\"\$IN\" of=\"\$OUT\" bs=1M iflag=skip_bytes,count_bytes skip=1000 count=100000000 status=none"
run_case "/r 1000 100000000" "$rnd" "/r 1000 100000000" "head+tail" "{ head -c 1000 \"\$IN\"; tail -c +100001001 \"\$IN\"; } > \"\$OUT\""
run_case "/e 2 4" "$rnd" "/e 2 4" "perl" "$(perlblk 4 'print substr($_, 0, 2)')"
run_case "/j 10485760" "$rnd" "/j 10485760" "split" "split -b 10485760 -d -a 3 \"\$IN\" x"
run_case "/j -25" "$rnd" "/j -25" "split" "split -n 25 -d -a 3 \"\$IN\" x"
run_case "/p 0" "$rnd" "/p 0" "perl" "$(perlblk 65536 'print pack("b*", unpack("B*", $_))')"
run_case "/p 1" "$rnd" "/p 1" "perl" "$(perlblk 65536 'print pack("h*", unpack("H*", $_))')"
run_case "/p 2" "$rnd" "/p 2" "dd conv=swab" "dd if=\"\$IN\" of=\"\$OUT\" bs=1M conv=swab status=none"
run_case "/p 4096" "$rnd" "/p 4096" "perl" "$(perlblk 4096 'print scalar reverse $_')"
run_case "/p -1" "$rnd" "/p -1" "tac" "tac -b -r -s '.' \"\$IN\" > \"\$OUT\""
run_case "/d 2 3" "$txt" "/d 2 3" "cut" "LC_ALL=C cut -c1-2,6- < \"\$IN\" > \"\$OUT\""
run_case "/d 2 3 (sed)" "$txt" "/d 2 3" "sed -E" "LC_ALL=C sed -E 's/^(.{2}).{0,3}/\\1/' < \"\$IN\" > \"\$OUT\""
run_case "/i 2 --" "$txt" "/i 2 --" "sed -E" "LC_ALL=C sed -E 's/^(.{2})(.)/\\1--\\2/' < \"\$IN\" > \"\$OUT\""
run_case "/s 8" "$txt" "/s 8" "expand" "LC_ALL=C expand -t 8 < \"\$IN\" > \"\$OUT\""
run_case "/t 8" "$txt" "/t 8" "unexpand" "LC_ALL=C unexpand -a -t 8 < \"\$IN\" > \"\$OUT\""
run_case "/z -1000" "$rnd" "/z -1000" "truncate" "cp \"\$IN\" \"\$OUT\" && truncate -s -1000 \"\$OUT\""
