#!/usr/bin/env bash
# Checks that a tool, its man page and its bash completion agree.
#
#   check-docs.sh tool BINARY MANPAGE COMPLETION
#       Every subcommand and long option that BINARY's --help lists (and each
#       subcommand's --help) is in the man page and in the completion:
#       - the man page has a tag line (.TP) that begins with the subcommand's
#         words and names each of its options; each option of the tool itself
#         begins a tag line ("--dir FOLDER", "-o, --out FILE"); with --list,
#         each item that it lists is a word of a tag line;
#       - the completion offers exactly the subcommands and the long options
#         (no more, no fewer), the subcommands that begin with each
#         subcommand's first two letters, and with --list exactly its items.
#       A binary that is not built is skipped (exit code 77).
#   check-docs.sh man BINARY MANPAGE
#       The man page alone, for a tool without subcommands or completion:
#       each long option that BINARY's --help lists begins a tag line. GUI
#       tools are asked on Qt's offscreen platform. Skipped (77) as above.
#   check-docs.sh lint MANPAGE...
#       groff's man macros find nothing to warn about (77 without groff).
#   check-docs.sh load COMPLETION...
#       Each file is bash, loads with a stub complete, registers a function of
#       its own for the command named as the file, and defines the helpers it
#       shares with the other files exactly as they do.
# Any fault is listed on stderr; the exit code is then 1.
set -uo pipefail

source "$(dirname "$0")/lib.sh"

faults=0
fault() {
    echo "$*" >&2
    faults=$((faults + 1))
}

# Whether WORD appears as a whole word (not part of a longer option or name)
# in TEXT.
has_word() {
    local text=" $1 " word=$2
    [[ $text =~ [^A-Za-z0-9_-]${word//./\\.}[^A-Za-z0-9_-] ]]
}

# The set difference of two newline-separated lists into $missing: the lines
# of $1 that are not in $2, sorted and joined by blanks. (It and the helpers
# below start no process unless something is missing: a tool's check makes
# hundreds of comparisons, and a process costs more than all of one.)
missing_from() {
    local -A present=()
    local -a lines=()
    local line
    while IFS= read -r line; do
        [[ -z $line ]] || present[$line]=1
    done <<<"$2"
    while IFS= read -r line; do
        [[ -z $line || -n ${present[$line]-} ]] || lines+=("$line")
    done <<<"$1"
    missing=''
    ((${#lines[@]} == 0)) || missing=$(printf '%s\n' "${lines[@]}" | LC_ALL=C sort -u | paste -sd' ')
}

# The lines of the help tree (help_tree) that begin with PREFIX, without it,
# into $found_lines; with WORD set, only those that are one word.
tree_lines() {
    local tree=$1 prefix=$2 word=${3-} line
    found_lines=''
    while IFS= read -r line; do
        [[ $line == "$prefix"* ]] || continue
        line=${line#"$prefix"}
        [[ -z $word || $line != *' '* ]] || continue
        found_lines+=$line$'\n'
    done <<<"$tree"
}

# Compares a completion's reply with what it has to be; only the words of
# reply that match FILTER (an extended regular expression) count.
expect_reply() {
    local what=$1 expected=$2 reply=$3 filter=$4
    local kept='' word missing
    while IFS= read -r word; do
        [[ ! $word =~ $filter ]] || kept+=$word$'\n'
    done <<<"$reply"
    missing_from "$expected" "$kept"
    [[ -z $missing ]] || fault "$what: not offered: $missing"
    missing_from "$kept" "$expected"
    [[ -z $missing ]] || fault "$what: offered but not in --help: $missing"
}

# Whether one of the man page's tag lines TAGS begins with the tool's own
# option ("--dir FOLDER", "-o, --out FILE", "--json").
option_tagged() {
    local tags=$1 option=$2 line
    while IFS= read -r line; do
        [[ $line =~ ^(-[A-Za-z0-9], )?(.*)$ ]]
        line=${BASH_REMATCH[2]}
        [[ $line == "$option" || $line == "$option "* || $line == "$option="* ]] && return 0
    done <<<"$tags"
    return 1
}

# Skips a binary that is not built, and keeps the tool off the user's
# printers, logs and backups.
prepare_binary() {
    local binary=$1
    if [[ ! -x $binary ]]; then
        echo "SKIP: $binary is not built; its documents are checked once it is"
        exit 77
    fi
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    export HOME=$scratch XDG_STATE_HOME=$scratch/state XDG_DATA_HOME=$scratch/data
    export ORVANE_VPRINTER_DIR=$scratch/printers
}

check_tool() {
    local binary=$1 manpage=$2 completion=$3
    local name
    name=$(basename "$binary")
    prepare_binary "$binary"

    local tree
    tree=$(help_tree "$binary") || {
        fault "$name: its --help cannot be read"
        return
    }
    local tags
    tags=$(man_tags "$manpage")

    local found_lines
    tree_lines "$tree" "command "
    local -a commands=()
    mapfile -t commands <<<"${found_lines%$'\n'}"
    [[ -n ${commands[0]-} ]] || commands=()
    local path option line found subs
    # Subcommands and their options in the man page.
    for path in "" "${commands[@]}"; do
        tree_lines "$tree" "command ${path:+$path }" word
        subs=$found_lines
        local -a own=()
        if [[ -n $path ]]; then
            while IFS= read -r line; do
                [[ $line == "$path" || $line == "$path "* ]] || continue
                local next=${line#"$path"}
                next=${next# }
                next=${next%% *}
                [[ -n $next && $'\n'$subs == *$'\n'$next$'\n'* ]] && continue
                own+=("$line")
            done <<<"$tags"
            if ((${#own[@]} == 0)); then
                fault "$name: the man page has no tag line for the command '$path'"
                continue
            fi
        fi
        local path_options
        tree_lines "$tree" "option ${path}|"
        path_options=$found_lines
        while IFS= read -r option; do
            [[ -n $option ]] || continue
            if [[ -z $path ]]; then
                option_tagged "$tags" "$option" ||
                    fault "$name: the man page has no tag line for the option $option"
                continue
            fi
            [[ $option == --help ]] && continue
            found=0
            for line in "${own[@]}"; do
                has_word "$line" "$option" && found=1
            done
            ((found)) || fault "$name: the man page's '$path' does not name $option"
        done <<<"$path_options"
    done

    # Subcommands and options in the completion, asked of one completing bash.
    completion_start "$completion"
    for path in "" "${commands[@]}"; do
        local -a words=()
        [[ -n $path ]] && read -r -a words <<<"$path"
        tree_lines "$tree" "command ${path:+$path }" word
        subs=$found_lines
        local options
        tree_lines "$tree" "option ${path}|"
        options=$found_lines
        local completion_reply
        completion_answer "$completion" "$binary" "${words[@]}" -- ||
            fault "$name: completing '${path:+$path }--' failed"
        expect_reply "$name: completing '${path:+$path }--'" "$options" "$completion_reply" '^--'
        if [[ -n $subs ]]; then
            completion_answer "$completion" "$binary" "${words[@]}" "" ||
                fault "$name: completing '${path:+$path } ' failed"
            expect_reply "$name: completing '${path:+$path }'" "$subs" "$completion_reply" '.'
            local sub prefix starting
            for sub in $subs; do
                prefix=${sub:0:2}
                starting=''
                while IFS= read -r line; do
                    [[ $line != "$prefix"* ]] || starting+=$line$'\n'
                done <<<"$subs"
                completion_answer "$completion" "$binary" "${words[@]}" "$prefix"
                expect_reply "$name: completing '${path:+$path }$prefix'" "$starting" \
                    "$completion_reply" '.'
            done
        fi
    done

    # The items of a tool that lists them.
    if grep -qxF "option |--list" <<<"$tree"; then
        local items
        items=$("$binary" --list | awk '{ print $1 }')
        [[ -n $items ]] || fault "$name: --list lists nothing"
        local item
        for item in $items; do
            found=0
            while IFS= read -r line; do
                has_word "$line" "$item" && found=1 && break
            done <<<"$tags"
            ((found)) || fault "$name: the man page has no tag line for the item $item"
        done
        expect_reply "$name: completing its items" "$items" \
            "$(complete_words "$completion" "$binary" "")" '.'
    fi
}

check_man() {
    local binary=$1 manpage=$2
    local name
    name=$(basename "$binary")
    prepare_binary "$binary"
    export QT_QPA_PLATFORM=offscreen
    [[ -f $manpage ]] || {
        fault "$name: no man page $manpage"
        return
    }
    local tree
    tree=$(help_tree "$binary") || {
        fault "$name: its --help cannot be read"
        return
    }
    local options option
    options=$(sed -n 's/^option |//p' <<<"$tree")
    [[ -n $options ]] || fault "$name: its --help lists no long option"
    local tags
    tags=$(man_tags "$manpage")
    while IFS= read -r option; do
        [[ -n $option ]] || continue
        option_tagged "$tags" "$option" ||
            fault "$name: the man page has no tag line for the option $option"
    done <<<"$options"
}

lint() {
    if ! command -v groff >/dev/null; then
        echo "SKIP: groff is not installed (scripts/bootstrap installs groff-base)"
        exit 77
    fi
    local page warnings
    for page in "$@"; do
        if ! warnings=$(groff -man -ww -z "$page" 2>&1) || [[ -n $warnings ]]; then
            fault "$page: groff -man -ww:"$'\n'"${warnings:-(failed without a word)}"
        fi
    done
}

load() {
    local file shared
    shared=$(mktemp)
    for file in "$@"; do
        local command
        command=$(basename "$file")
        if ! bash -n "$file" 2>/dev/null; then
            fault "$file: not valid bash: $(bash -n "$file" 2>&1)"
            continue
        fi
        # What loading it registers and defines, in a bash of its own.
        local out
        if ! out=$(bash --norc --noprofile -c '
            registered=()
            complete() { registered+=("complete $*"); }
            source "$1" >/dev/null || exit 1
            printf "%s\n" "${registered[@]}"
            unset -f complete
            for function in $(declare -F | sed -n "s/^declare -f //p"); do
                echo "function $function $(declare -f "$function" | cksum | tr " " -)"
            done' load "$file" 2>&1); then
            fault "$file: sourcing it fails: $out"
            continue
        fi
        local registered
        registered=$(sed -n "s/^complete -F \([^ ]*\) $command\$/\1/p" <<<"$out")
        if [[ -z $registered ]]; then
            fault "$file: does not register 'complete -F FUNCTION $command'"
        elif ! grep -q "^function $registered " <<<"$out"; then
            fault "$file: registers $registered, which it does not define"
        fi
        sed -n "s/^function \(_orvane_[^ ]*\) \(.*\)/\1 \2 $command/p" <<<"$out" >>"$shared"
        grep -v '^function _orvane_\|^complete ' <<<"$out" | grep -q '^function ' &&
            fault "$file: defines functions outside the _orvane_ names: $(grep '^function ' <<<"$out" | grep -v ' _orvane_' | cut -d' ' -f2 | tr '\n' ' ')"
    done
    # A helper that two files define must be the same in both: the file that
    # bash loads last would otherwise change the other tool's completion.
    local helper
    for helper in $(awk '{ print $1 }' "$shared" | sort | uniq -d); do
        if [[ $(awk -v h="$helper" '$1 == h { print $2 }' "$shared" | sort -u | wc -l) -gt 1 ]]; then
            fault "$helper differs between $(awk -v h="$helper" '$1 == h { print $3 }' "$shared" | tr '\n' ' ')"
        fi
    done
    rm -f "$shared"
}

mode=${1-}
shift || true
case $mode in
    tool) check_tool "$@" ;;
    man) check_man "$@" ;;
    lint) lint "$@" ;;
    load) load "$@" ;;
    *)
        echo "usage: check-docs.sh tool BINARY MANPAGE COMPLETION | man BINARY MANPAGE | lint MANPAGE... | load FILE..." >&2
        exit 2
        ;;
esac
if ((faults > 0)); then
    echo "$faults fault(s)" >&2
    exit 1
fi
echo "ok"
