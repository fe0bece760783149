#!/usr/bin/env bash
# What the completions offer for the arguments of the commands: the ports of
# the virtual printers (from ORVANE_VPRINTER_DIR, XDG_STATE_HOME, HOME or the
# --dir given), file names, the pattern items and the mechanism's and the
# adjustment values' names.
#   completion-cases.sh COMPLETION_FOLDER BIN_FOLDER
set -uo pipefail
source "$(dirname "$0")/lib.sh"

completions=$1
bin=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
faults=0

# Three state folders and a folder of files; a folder without printer.conf is
# not a printer.
for printer in env/VTUSB001 env/VTUSB007 env/LPT1: given/USB003 xdg/orvane-vprinter/VTUSB002 \
    home/.local/state/orvane-vprinter/VTUSB009; do
    mkdir -p "$scratch/$printer"
    touch "$scratch/$printer/printer.conf"
done
mkdir -p "$scratch/env/VTUSB005" "$scratch/files/stuff" "$scratch/given with blank/USB004"
touch "$scratch/given with blank/USB004/printer.conf"
touch "$scratch/files/stream.bin" "$scratch/files/saved.eep" "$scratch/files/stuff/inner"

# case_ DESCRIPTION ENVIRONMENT TOOL WORD... :: EXPECTED...: completing the last
# WORD of the tool's command line, with ENVIRONMENT (NAME=VALUE, blank-
# separated, "-" for none) in force, offers exactly EXPECTED.
case_() {
    local description=$1 environment=$2 tool=$3
    shift 3
    local -a words=() expected=()
    while [[ $# -gt 0 && $1 != :: ]]; do
        words+=("$1")
        shift
    done
    shift
    expected=("$@")
    local -a env_words=(env -u ORVANE_VPRINTER_DIR -u XDG_STATE_HOME HOME="$scratch/home"
        PATH=/usr/bin:/bin)
    [[ $environment == - ]] || env_words+=($environment)
    local reply want
    # The completing bash of lib.sh, asked this one line in the environment.
    reply=$(printf '%s\0' "$((${#words[@]} + 1))" "$tool" "${words[@]}" |
        "${env_words[@]}" bash --norc --noprofile -c "$completion_program" completion \
            "$completions/$tool" 2>"$scratch/errors")
    if [[ $reply != *$'\036' || -s $scratch/errors ]]; then
        echo "$description: '$tool ${words[*]}' fails: $(cat "$scratch/errors")" >&2
        faults=$((faults + 1))
        return
    fi
    reply=${reply%$'\036'}
    reply=$([[ -z $reply ]] || printf '%s' "$reply" | LC_ALL=C sort)
    want=$([[ ${#expected[@]} -eq 0 ]] || printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
    if [[ $reply != "$want" ]]; then
        echo "$description: '$tool ${words[*]}' offers [$(echo $reply)], not [$(echo $want)]" >&2
        faults=$((faults + 1))
    fi
}

s=$scratch
# Ports: the state folder's printers, wherever it is.
case_ "ports of ORVANE_VPRINTER_DIR" "ORVANE_VPRINTER_DIR=$s/env" orvane-vprinter eeprom "" :: \
    LPT1: VTUSB001 VTUSB007
case_ "ports of XDG_STATE_HOME" "XDG_STATE_HOME=$s/xdg" orvane-vprinter pages "" :: VTUSB002
case_ "a relative XDG_STATE_HOME is ignored" "XDG_STATE_HOME=xdg" orvane-vprinter pages "" :: \
    VTUSB009
case_ "ports of the home folder" - orvane-vprinter reprint V :: VTUSB009
case_ "ports of --dir" "ORVANE_VPRINTER_DIR=$s/env" orvane-vprinter --dir "$s/given" \
    new-board "" :: USB003
case_ "ports of --dir=" "ORVANE_VPRINTER_DIR=$s/env" orvane-vprinter --dir="$s/given" \
    mechanism "" :: USB003
case_ "ports of a --dir with a blank" - orvane-vprinter --dir "$s/given with blank" \
    remove "" :: USB004
case_ "--compare takes a port" "ORVANE_VPRINTER_DIR=$s/env" orvane-vprinter decode-dump x \
    --compare VTUSB00 :: VTUSB001 VTUSB007
case_ "the port of orvane-pattern" "ORVANE_VPRINTER_DIR=$s/env" orvane-pattern beta \
    --port "" :: LPT1: VTUSB001 VTUSB007
case_ "the port of orvane-pattern, --dir given after it" "ORVANE_VPRINTER_DIR=$s/env" \
    orvane-pattern --dir "$s/given" --port= :: USB003
case_ "the port of orvane-service" "ORVANE_VPRINTER_DIR=$s/env" orvane-service --port L :: LPT1:
case_ "the port of orvane-service log" "ORVANE_VPRINTER_DIR=$s/env" orvane-service log \
    --port "" :: LPT1: VTUSB001 VTUSB007
case_ "the kinds of orvane-service log" - orvane-service log --kind re :: reset restore
case_ "no port where a port is not asked for" "ORVANE_VPRINTER_DIR=$s/env" orvane-vprinter \
    eeprom VTUSB001 "" ::
# File names.
case_ "inspect takes a file" - orvane-vprinter inspect "$s/files/s" :: "$s/files/stream.bin" \
    "$s/files/saved.eep" "$s/files/stuff"
case_ "decode-dump takes a file" - orvane-vprinter decode-dump "$s/files/sa" :: \
    "$s/files/saved.eep"
case_ "--out takes a file" - orvane-pattern beta --out "$s/files/st" :: "$s/files/stream.bin" \
    "$s/files/stuff"
case_ "--out= takes a file" - orvane-pattern beta --out="$s/files/stuff/" :: "$s/files/stuff/inner"
case_ "--dir takes a folder" - orvane-vprinter --dir "$s/files/" :: "$s/files/stuff"
case_ "dump takes a file" - orvane-service dump "$s/files/sa" :: "$s/files/saved.eep"
case_ "restore --from takes a file" - orvane-service restore --from "$s/files/sa" :: \
    "$s/files/saved.eep"
# Fixed words of the commands.
case_ "power" - orvane-vprinter power VTUSB001 "" :: off on
case_ "busy" - orvane-vprinter busy VTUSB001 "" :: polls sends
case_ "ink markers" - orvane-vprinter ink VTUSB001 80 A :: AN
case_ "library functions" - orvane-vprinter call-fault D4R :: D4ReadEeprom D4Reset
case_ "export's second word" - orvane-vprinter export D4Reset "" :: missing present
case_ "mechanism names" - orvane-vprinter mechanism VTUSB001 pf- :: pf-black= pf-color=
case_ "mechanism verbs" - orvane-vprinter mechanism VTUSB001 r :: random reveal
case_ "more mechanism names after one" - orvane-vprinter mechanism VTUSB001 pf-black=2 to :: \
    top-margin=
case_ "a mechanism value is not completed" - orvane-vprinter mechanism VTUSB001 pf-black= ::
case_ "nothing after random" - orvane-vprinter mechanism VTUSB001 random "" ::
case_ "dot sizes" - orvane-pattern bid-black --dot-size "" :: 16 17 18 19
case_ "models" - orvane-service --model=K :: K31 K32
case_ "adjustment value names" - orvane-service adjust set bid-eco-black=1 bid-e :: \
    bid-eco-black= bid-eco-color=
case_ "the heat protect value, which takes none" - orvane-service --dry-run adjust set c :: cr-heat-protect
case_ "waste's subcommand after global options" "ORVANE_VPRINTER_DIR=$s/env" orvane-service \
    --port VTUSB001 --json waste "" :: reset
case_ "pattern items without the tool" - orvane-pattern sheet-b :: sheet-bid-black sheet-bid-color
case_ "one item only" - orvane-pattern beta "" ::

# The names in the completions are the tools' own, where a built tool tells
# them.
if [[ -x $bin/orvane-pattern ]]; then
    # The list the completion falls back on when it cannot run the tool.
    items=$(printf '%s\n' $("$bin/orvane-pattern" --list | awk '{ print $1 }') | LC_ALL=C sort)
    fallback=$(env PATH=/usr/bin:/bin bash -c "source '$(dirname "$0")/lib.sh'; complete_words \"\$@\"" \
        _ "$completions/orvane-pattern" orvane-pattern "")
    if [[ $items != "$fallback" ]]; then
        echo "orvane-pattern's completion falls back on [$(echo $fallback)]," \
            "but --list lists [$(echo $items)]" >&2
        faults=$((faults + 1))
    fi
fi
if [[ -x $bin/orvane-vprinter ]]; then
    names=$(ORVANE_VPRINTER_DIR=$scratch/tool "$bin/orvane-vprinter" mechanism VTUSB001 |
        sed -n 's/^\([a-z0-9-]*\)=.*/\1=/p' | LC_ALL=C sort)
    offered=$(complete_words "$completions/orvane-vprinter" orvane-vprinter mechanism VTUSB001 "" |
        grep '=$')
    if [[ -z $names || $names != "$offered" ]]; then
        echo "orvane-vprinter's mechanism shows [$(echo $names)]," \
            "the completion offers [$(echo $offered)]" >&2
        faults=$((faults + 1))
    fi
    # Every library function offered is one the tool knows.
    for function in $(complete_words "$completions/orvane-vprinter" orvane-vprinter export ""); do
        if ! error=$(ORVANE_VPRINTER_DIR=$scratch/tool "$bin/orvane-vprinter" export "$function" \
            present 2>&1); then
            echo "orvane-vprinter's completion offers the function $function: $error" >&2
            faults=$((faults + 1))
        fi
    done
fi

if ((faults > 0)); then
    echo "$faults fault(s)" >&2
    exit 1
fi
echo ok

