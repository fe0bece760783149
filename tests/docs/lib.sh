# Helpers of the checks that the tools' man pages and bash completions match
# the tools: what a tool's --help lists, the tag lines of a man page, and what
# a completion script offers for a command line.

# The bash that completes command lines for complete_words: it stubs
# complete and compopt, loads the completion file ($1), and then, under set
# -u, answers each command line it reads (a count, then the words, each
# NUL-terminated) with the replies of the function the file registers with
# complete -F, one a line, and a line "\036" after them. The words are split
# at "=" as bash splits them. A completion that breaks (say, on an unset
# variable) ends the bash.
completion_program='
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
    [[ -n $registered ]] || { echo "no complete -F in the file" >&2; exit 3; }
    while IFS= read -r -d "" count; do
        words=()
        for ((i = 0; i < count; i++)); do
            IFS= read -r -d "" word
            words+=("$word")
        done
        # Split at "=" as bash does (it is in COMP_WORDBREAKS): "--dir=X" is
        # the three words "--dir", "=" and "X".
        COMP_WORDS=()
        for word in "${words[@]}"; do
            while [[ $word == *=* ]]; do
                [[ -z ${word%%=*} ]] || COMP_WORDS+=("${word%%=*}")
                COMP_WORDS+=("=")
                word=${word#*=}
            done
            [[ -z $word && ${#COMP_WORDS[@]} -gt 0 && ${COMP_WORDS[-1]} == = ]] ||
                COMP_WORDS+=("$word")
        done
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE="${words[*]}"
        COMP_POINT=${#COMP_LINE}
        COMPREPLY=()
        "$registered" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" \
            "${COMP_WORDS[COMP_CWORD - 1]-}"
        [[ ${#COMPREPLY[@]} -eq 0 ]] || printf "%s\n" "${COMPREPLY[@]}"
        printf "\036\n"
    done'

# Starts a completing bash for the completion in FILE that stays, so that
# complete_words on FILE asks it rather than starting and loading one for each
# command line (the checks of a tool ask hundreds).
completion_start() {
    orvane_completing_file=$1
    # A write to a bash that has ended fails rather than ends the check.
    trap '' PIPE
    coproc orvane_completing {
        bash --norc --noprofile -c "$completion_program" completion "$orvane_completing_file"
    }
}

# The replies of the completion in FILE for the command line WORD..., the
# last word being the one completed, into $completion_reply, one a line;
# fails when the completion breaks. Without a completing bash of FILE's
# (completion_start), one of its own answers this line alone.
completion_answer() {
    local file=$1
    shift
    local answer='' line
    if [[ ${orvane_completing_file-} == "$file" ]] &&
        printf '%s\0' "$#" "$@" >&"${orvane_completing[1]}" 2>/dev/null; then
        while IFS= read -r line <&"${orvane_completing[0]}"; do
            answer+=$line$'\n'
            [[ $line != $'\036' ]] || break
        done
    fi
    # Without the mark at its end the completing bash has ended (or there is
    # none): a bash of its own answers the line.
    if [[ $answer != *$'\036\n' ]]; then
        answer=$(printf '%s\0' "$#" "$@" |
            bash --norc --noprofile -c "$completion_program" completion "$file")$'\n'
    fi
    completion_reply=''
    [[ $answer == *$'\036\n' ]] || return 1
    completion_reply=${answer%$'\036\n'}
}

# Prints the replies of the completion in FILE for the command line WORD...,
# one a line, sorted; fails when the completion breaks.
complete_words() {
    local completion_reply
    completion_answer "$@" || return 1
    [[ -z $completion_reply ]] || printf '%s' "$completion_reply" | LC_ALL=C sort
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
