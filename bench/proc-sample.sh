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
