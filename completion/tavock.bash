# Bash completion for tavock: the options of its usage text (and -oh), and
# for an option's value whatever set of values it has. Plain bash, so it
# works with or without the bash-completion package.

_tavock_options="-V -h -H -help -rc -u -exe -display -geometry -withdrawn
    -iconic -standout -noborder -shift -title -bg -fg -sec -min -hour -day
    -ampm -date -ns -nd -nap -nt -at -fs -ts -fh -oh -nh -ht -ot -nf -label
    -fn -lcol -ltop -scale -smooth -wayland -layer -output"

_tavock()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    # mapfile takes the candidates a line each: file and font names may
    # hold blanks.
    case $prev in
    -rc)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        ;;
    -exe)
        mapfile -t COMPREPLY < <(compgen -c -- "$cur")
        ;;
    -display)
        mapfile -t COMPREPLY < <(compgen -W ':0' -- "$cur")
        # Readline ends a word at a colon, so a typed ":" is a word of its
        # own and only what follows it may be offered.
        if [[ $cur == *:* && $COMP_WORDBREAKS == *:* ]]; then
            COMPREPLY=("${COMPREPLY[@]##*:}")
        fi
        ;;
    -bg | -fg | -sec | -min | -hour | -day | -ampm | -date | -lcol)
        # Names of one word only: the X colour database also spells each
        # of its two-word names as one ("ghost white", "GhostWhite").
        if type -P showrgb >/dev/null; then
            mapfile -t COMPREPLY < <(compgen -W \
                "$(showrgb 2>/dev/null | awk 'NF == 4 { print $4 }')" -- "$cur")
        fi
        ;;
    -fn)
        # Fonts of the server the clock will use: a -display given earlier
        # on the line (read from the line itself, which keeps its colon).
        local display=
        if [[ $COMP_LINE =~ [[:space:]]-display[[:space:]]+([^[:space:]]+) ]]; then
            display=${BASH_REMATCH[1]}
        fi
        if type -P xlsfonts >/dev/null; then
            mapfile -t COMPREPLY < <(xlsfonts ${display:+-display "$display"} \
                -fn "$cur*" 2>/dev/null)
        fi
        ;;
    -layer)
        mapfile -t COMPREPLY < <(compgen -W 'background bottom top overlay' -- "$cur")
        ;;
    -u | -shift | -ht | -ot | -scale | -geometry | -title | -label | -output)
        # Numbers, geometries and free text: nothing to offer.
        ;;
    *)
        mapfile -t COMPREPLY < <(compgen -W "$_tavock_options" -- "$cur")
        ;;
    esac
}
complete -F _tavock tavock
