#!/usr/bin/env bash
# Stands in for orvane-service in the checks of the documents until the tool
# is built: it answers --help as CLI11 does, for the commands and options the
# team agreed on. With DRIFT=1 it has a command and an option more, which the
# documents lack.
options() {
    echo "Options:"
    echo "  -h,--help                   Print this help message and exit"
    local option
    for option in "$@"; do
        printf '  %-28s%s\n' "$option" "what it does"
    done
}
commands() {
    echo
    echo "Subcommands:"
    local command
    for command in "$@"; do
        printf '  %-28s%s\n' "$command" "what it does"
    done
}

words=()
for word in "$@"; do
    [[ $word == --help ]] || words+=("$word")
done
echo "Usage: orvane-service ${words[*]} [OPTIONS]"
echo
case "${words[*]}" in
    '')
        options "--port TEXT" "--model TEXT:{K31,K32}" --json --dry-run
        if [[ ${DRIFT-} == 1 ]]; then
            commands ports status identity adjust print waste clean ink-charge backup restore \
                dump log calibrate
        else
            commands ports status identity adjust print waste clean ink-charge backup restore \
                dump log
        fi
        ;;
    identity | adjust | waste | backup)
        options
        case ${words[0]} in
            identity | adjust) commands set ;;
            waste) commands reset ;;
            backup) commands list ;;
        esac
        ;;
    'identity set') options --market "--head-id TEXT" "--usb-id TEXT" ;;
    'adjust set')
        echo "Positionals:"
        echo "  values TEXT ... REQUIRED    NAME=VALUE"
        echo
        options
        ;;
    print)
        echo "Positionals:"
        echo "  name TEXT:{beta,nozzle-check,normal-sheet} REQUIRED"
        echo
        options
        ;;
    restore) options "--from TEXT" --force ;;
    dump)
        echo "Positionals:"
        echo "  file TEXT REQUIRED"
        echo
        options
        ;;
    log)
        if [[ ${DRIFT-} == 1 ]]; then
            options "--port TEXT" "--since TEXT" --json --verbose
        else
            options "--port TEXT" "--since TEXT" --json
        fi
        ;;
    ports | status | 'waste reset' | clean | ink-charge | 'backup list' | calibrate) options ;;
    *)
        echo "orvane-service: unknown command" >&2
        exit 2
        ;;
esac
