# Sourced by the benchmarks: what a process has used, read from /proc, and
# the spread of a figure over rounds.
# probe PID: run time (ns; 0 without schedstat), CPU ticks, wake-ups and
# resident memory (kB) of a process, into probe_ns, probe_ticks, probe_wk,
# probe_rss, read with the shell's own reads only.
probe() {
    local line key value rest
    local -a fields
    probe_ns=0
    [ ! -r "/proc/$1/schedstat" ] || read -r probe_ns rest <"/proc/$1/schedstat"
    read -r line <"/proc/$1/stat"
    # utime and stime: fields 14 and 15; the name in field 2 may hold blanks.
    read -r -a fields <<<"${line##*) }"
    probe_ticks=$(( fields[11] + fields[12] ))
    probe_wk=0 probe_rss=0
    while read -r key value rest; do
        case $key in
            voluntary_ctxt_switches:) probe_wk=$value ;;
            VmRSS:) probe_rss=$value ;;
        esac
    done <"/proc/$1/status"
}
# spread VALUE...: the mean and the largest distance of a value from it.
spread() {
    printf '%s\n' "$@" | awk '{ v[NR] = $1; s += $1 }
        END { m = s / NR; d = 0
              for (i = 1; i <= NR; i++) { e = v[i] > m ? v[i] - m : m - v[i]; if (e > d) d = e }
              printf "%.6f %.6f", m, d }'
}
# median VALUE...: the middle value (with an even count, the mean of the
# two in the middle).
median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 }
        END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# ratios A... -- B...: each round's A over its B (a billion where B is 0,
# which no target passes).
ratios() {
    local -a a=() b=()
    while [ "$1" != -- ]; do a+=("$1"); shift; done
    shift
    b=("$@")
    local k
    for k in "${!a[@]}"; do
        awk -v a="${a[$k]}" -v b="${b[$k]}" 'BEGIN { if (b > 0) printf "%.4f\n", a / b; else print 1e9 }'
    done
}
# on_median LIMIT RATIO...: "median R (R1 R2 ...; mean M ±D)  met" (or
# MISSED): the rounds' ratios, judged on the median round.
on_median() {
    local limit=$1 m mean dev verdict
    shift
    m=$(median "$@")
    read -r mean dev <<<"$(spread "$@")"
    verdict=$(awk -v m="$m" -v l="$limit" 'BEGIN { print (m <= l ? "met" : "MISSED") }')
    printf 'median %.2fx (%s; mean %.2fx ±%.2f)  %s\n' "$m" \
        "$(printf '%s\n' "$@" | awk '{ printf "%s%.2f", (NR > 1 ? " " : ""), $1 }')" "$mean" "$dev" "$verdict"
}
