# Helpers of the checks that the tools' man pages and bash completions match
# the tools: what a tool's --help lists, the tag lines of a man page, and what
# a completion script offers for a command line.

# Prints the replies of the completion in FILE for the command line WORD...,
# the last word being the one completed, one a line, sorted. The words are
# split at "=" as bash splits them. The completion
# runs in a bash of its own, with stubs of complete and compopt, under
# set -u; it is the function that the file registers with complete -F.
complete_words() {
    local file=$1
    shift
    bash --norc --noprofile -c '
        registered=""
        complete() {
            local previous=""
            for word in "$@"; do
                [[ $previous == -F ]] && registered=$word
                previous=$word
            done
        }
        compopt() { :; }
        source "$1" || exit 3
        # A shell with nounset set must not break the completion.
        set -u
        shift
        [[ -n $registered ]] || { echo "no complete -F in the file" >&2; exit 3; }
        # Split at "=" as bash does (it is in COMP_WORDBREAKS): "--dir=X" is
        # the three words "--dir", "=" and "X".
        COMP_WORDS=()
        for word in "$@"; do
            while [[ $word == *=* ]]; do
                [[ -z ${word%%=*} ]] || COMP_WORDS+=("${word%%=*}")
                COMP_WORDS+=("=")
                word=${word#*=}
            done
            [[ -z $word && ${#COMP_WORDS[@]} -gt 0 && ${COMP_WORDS[-1]} == = ]] ||
                COMP_WORDS+=("$word")
        done
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE="$*"
        COMP_POINT=${#COMP_LINE}
        COMPREPLY=()
        "$registered" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" \
            "${COMP_WORDS[COMP_CWORD - 1]-}"
        [[ ${#COMPREPLY[@]} -eq 0 ]] || printf "%s\n" "${COMPREPLY[@]}"
    ' complete_words "$file" "$@" | LC_ALL=C sort
    return "${PIPESTATUS[0]}"
}

# Prints the tag lines of a man page (the line after each .TP) as text: the
# macro's arguments with font changes and escapes taken out, so that
# `.BI "create " PORT` and `\fBcreate\fR \fIPORT\fR` both read "create PORT".
man_tags() {
    local line next=0
    while IFS= read -r line; do
        if ((next)); then
            next=0
            man_text "$line"
        fi
        [[ $line == .TP* ]] && next=1
    done <"$1"
}

# The text of one line of a man page source.
man_text() {
    local line=$1 macro='' text=''
    if [[ $line == .* ]]; then
        macro=${line%% *}
        macro=${macro#.}
        [[ $line == *' '* ]] && line=${line#* } || line=''
        # The arguments: blank-separated, "..." quoted, "" a quote inside.
        local -a arguments=()
        local argument='' quoted=0 started=0 i c
        for ((i = 0; i < ${#line}; i++)); do
            c=${line:i:1}
            if [[ $c == '\' ]]; then
                argument+=${line:i:2} started=1
                i=$((i + 1))
            elif ((quoted)); then
                if [[ $c == '"' && ${line:i+1:1} == '"' ]]; then
                    argument+='"'
                    i=$((i + 1))
                elif [[ $c == '"' ]]; then
                    quoted=0
                else
                    argument+=$c
                fi
            elif [[ $c == ' ' ]]; then
                ((started)) && arguments+=("$argument")
                argument='' started=0
            elif [[ $c == '"' && $started -eq 0 ]]; then
                quoted=1 started=1
            else
                argument+=$c started=1
            fi
        done
        ((started)) && arguments+=("$argument")
        case $macro in
            BR | BI | IB | IR | RB | RI) text=$(printf '%s' "${arguments[@]}") ;;
            *) text="${arguments[*]}" ;;
        esac
    else
        text=$line
    fi
    text=${text//\\f[BIRP]/}
    text=${text//\\-/-}
    text=${text//\\ / }
    text=${text//\\&/}
    text=${text//\\%/}
    printf '%s\n' "$text"
}

# Prints what BINARY's --help lists, and each of its subcommands' --help, down
# to subcommands of subcommands: a line "command PATH" for each subcommand and
# "option PATH|--NAME" for each long option, PATH being the subcommand's words
# ("" for the tool itself). Reads CLI11's help: the lines of its "Options:"
# and "Subcommands:" sections indented by two blanks.
help_tree() {
    local binary=$1
    local -a queue=("")
    while ((${#queue[@]} > 0)); do
        local path=${queue[0]}
        queue=("${queue[@]:1}")
        local -a words=()
        [[ -n $path ]] && read -r -a words <<<"$path"
        local help
        if ! help=$("$binary" "${words[@]}" --help 2>&1); then
            echo "help_tree: '$binary ${words[*]} --help' failed: $help" >&2
            return 1
        fi
        local section='' line first
        while IFS= read -r line; do
            if [[ $line =~ ^[A-Za-z][A-Za-z\ ]*:$ ]]; then
                section=${line,,}
                continue
            fi
            [[ $line =~ ^\ \ [^\ ] ]] || continue
            first=${line#  }
            first=${first%% *}
            case $section in
                *command*)
                    echo "command ${path:+$path }$first"
                    ((${#words[@]} < 2)) && queue+=("${path:+$path }$first")
                    ;;
                *option*)
                    local name
                    for name in ${first//,/ }; do
                        [[ $name == --* ]] && echo "option $path|$name"
                    done
                    ;;
            esac
        done <<<"$help"
    done
}
