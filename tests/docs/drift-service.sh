#!/usr/bin/env bash
# orvane-service ($SERVICE) with a command ("calibrate") and an option of "log"
# ("--verbose") more in its help than its documents have, for the check of the
# check: it must name both, wherever they are missing.
set -u
[[ -x ${SERVICE-} ]] || exit 77
case " $* " in
    " calibrate --help ")
        printf 'what it does\nUsage: orvane-service calibrate [OPTIONS]\n\nOptions:\n'
        printf '  %-28s%s\n' -h,--help "Print this help message and exit"
        ;;
    " --help ") "$SERVICE" --help | sed '/^Subcommands:/a\  calibrate                   what it does' ;;
    " log --help ") "$SERVICE" log --help | sed '/^Options:/a\  --verbose                   what it does' ;;
    *) exec "$SERVICE" "$@" ;;
esac
