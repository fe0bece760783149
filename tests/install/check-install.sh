#!/usr/bin/env bash
# Checks what `cmake --install` puts under a prefix.
#
#   check-install.sh staged BUILD SOURCE
#       Installs BUILD into a scratch prefix, checks the tree (as "tree"
#       does) and runs the installed tools from there: the control tool's
#       list on a scratch state folder, a pattern printed into a virtual
#       printer, each tool's --help, and the program's start-up probe with a
#       scratch XDG state folder, which must get the two default printers.
#       Then nothing in the tree may have changed.
#   check-install.sh tree PREFIX BUILD SOURCE
#       The tree alone: each tool built in BUILD/bin has its executable in
#       lib/orvane-adjust, a bin link to it, and its man page and completion
#       when SOURCE has them (and a tool not built has none of these); the link
#       libraries and the virtual printer's library are beside the program;
#       each ELF file's run path is $ORIGIN-relative and all its libraries
#       resolve, none from BUILD or SOURCE; no text file names BUILD or SOURCE;
#       the desktop entry and the AppStream file are valid and agree with the
#       bin links and the icons.
#   check-install.sh broken BUILD SOURCE
#       Stages BUILD, breaks the tree in the ways the check has to find (a
#       library gone, an absolute bin link and run path, a text file naming
#       the build folder, an icon gone, a desktop entry starting what is not
#       there) and checks it: the check itself.
# Any fault is listed on stderr; the exit code is then 1.
set -uo pipefail

tools=(orvane-adjust orvane-tray orvane-vprinter orvane-pattern orvane-read-page orvane-service)
program_dir=lib/orvane-adjust
app_id=org.orvane.adjust

faults=0
fault() {
    echo "$*" >&2
    faults=$((faults + 1))
}

check_tree() {
    local prefix=$1 build=$2 source=$3
    local tool
    for tool in "${tools[@]}"; do
        local man=share/man/man1/$tool.1 completion=share/bash-completion/completions/$tool
        if [[ ! -x $build/bin/$tool ]]; then
            [[ ! -e $prefix/bin/$tool && ! -L $prefix/bin/$tool ]] ||
                fault "bin/$tool: installed, but $tool is not built"
            [[ ! -e $prefix/$man ]] || fault "$man: installed, but $tool is not built"
            [[ ! -e $prefix/$completion ]] || fault "$completion: installed, but $tool is not built"
            continue
        fi
        [[ -f $prefix/$program_dir/$tool && -x $prefix/$program_dir/$tool ]] ||
            fault "$program_dir/$tool: missing"
        if [[ ! -L $prefix/bin/$tool ]]; then
            fault "bin/$tool: not a symbolic link"
        elif [[ $(readlink "$prefix/bin/$tool") == /* ]]; then
            fault "bin/$tool: points to the absolute $(readlink "$prefix/bin/$tool")"
        elif [[ $(realpath -m "$prefix/bin/$tool") != "$(realpath -m "$prefix/$program_dir/$tool")" ]]; then
            fault "bin/$tool: points to $(readlink "$prefix/bin/$tool"), not to $program_dir/$tool"
        fi
        [[ ! -f $source/man/$tool.1 || -f $prefix/$man ]] || fault "$man: missing"
        [[ ! -f $source/completion/$tool || -f $prefix/$completion ]] ||
            fault "$completion: missing"
    done
    local library
    for library in libPortway.so libChanlink.so libOrvaneVPrinter.so; do
        [[ -f $prefix/$program_dir/$library ]] || fault "$program_dir/$library: missing"
    done

    # The ELF files: run paths and the libraries they need.
    local file
    while IFS= read -r -d '' file; do
        [[ $(head -c 4 "$file" | od -An -c | tr -d ' ') == 177ELF ]] || continue
        local name=${file#"$prefix"/} entry
        local paths
        paths=$(readelf -d "$file" | sed -n 's/.*(\(RPATH\|RUNPATH\)).*\[\(.*\)\]/\2/p')
        for entry in ${paths//:/ }; do
            [[ $entry == '$ORIGIN' || $entry == '$ORIGIN/'* ]] ||
                fault "$name: run path $entry is not relative to \$ORIGIN"
        done
        local resolved
        resolved=$(ldd "$file" 2>&1)
        grep -q 'not found' <<<"$resolved" &&
            fault "$name: libraries not found: $(grep 'not found' <<<"$resolved" | awk '{print $1}' | tr '\n' ' ')"
        grep -qF -e "$build" -e "$source" <<<"$resolved" &&
            fault "$name: loads libraries from the build or source folder"
    done < <(find "$prefix" -type f -print0)

    # No text file names the build or the source folder.
    local named
    named=$(grep -rIlF -e "$build" -e "$source" "$prefix")
    [[ -z $named ]] || fault "names the build or source folder: ${named//$'\n'/ }"

    check_desktop "$prefix"
}

# The desktop entry and the AppStream file: valid, and agreeing with what is
# installed.
check_desktop() {
    local prefix=$1
    local desktop=$prefix/share/applications/$app_id.desktop
    local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
    if [[ ! -x $prefix/bin/orvane-adjust ]]; then
        [[ ! -e $desktop ]] || fault "$app_id.desktop: installed without the program"
        return
    fi
    if [[ ! -f $desktop ]]; then
        fault "share/applications/$app_id.desktop: missing"
    else
        local said
        said=$(desktop-file-validate "$desktop" 2>&1) || fault "$app_id.desktop: not valid: $said"
        local exec icon size
        exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
        [[ -x $prefix/bin/$exec ]] || fault "$app_id.desktop: Exec $exec is not in bin"
        icon=$(sed -n 's/^Icon=//p' "$desktop")
        [[ -f $prefix/share/icons/hicolor/scalable/apps/$icon.svg ]] ||
            fault "$app_id.desktop: no scalable icon $icon"
        for size in 16 32 48 64 128 256; do
            [[ -f $prefix/share/icons/hicolor/${size}x$size/apps/$icon.png ]] ||
                fault "$app_id.desktop: no ${size}x$size icon $icon"
        done
    fi
    if [[ ! -f $metainfo ]]; then
        fault "share/metainfo/$app_id.metainfo.xml: missing"
        return
    fi
    local said
    said=$(appstreamcli validate --no-net "$metainfo" 2>&1) ||
        fault "$app_id.metainfo.xml: not valid: $said"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fault "$app_id.metainfo.xml: does not launch $app_id.desktop"
    local provided installed
    provided=$(sed -n 's|.*<binary>\(.*\)</binary>.*|\1|p' "$metainfo" | LC_ALL=C sort)
    installed=$(ls "$prefix/bin" | LC_ALL=C sort)
    [[ $provided == "$installed" ]] ||
        fault "$app_id.metainfo.xml: provides $(echo $provided), bin holds $(echo $installed)"
}

# Runs the installed tools from PREFIX on scratch state folders in SCRATCH.
run_tools() {
    local prefix=$1 scratch=$2
    local bin=$prefix/bin out
    # Nothing of the developer's own state: a home and XDG folders of the run.
    export HOME=$scratch/home XDG_STATE_HOME=$scratch/xdg-state XDG_DATA_HOME=$scratch/xdg-data
    unset ORVANE_VPRINTER_DIR
    mkdir -p "$HOME"
    cd "$scratch" || return

    out=$("$bin/orvane-vprinter" --dir "$scratch/printers" list 2>&1) ||
        fault "orvane-vprinter list: failed: $out"
    grep -q 'VTUSB001.*Orvane K31' <<<"$out" && grep -q 'VTUSB002.*Orvane K32' <<<"$out" ||
        fault "orvane-vprinter list: not the two default printers: $out"

    out=$("$bin/orvane-pattern" --list 2>&1) || fault "orvane-pattern --list: failed: $out"
    grep -q '^beta ' <<<"$out" || fault "orvane-pattern --list: no beta item: $out"
    # Printing loads the link libraries from the tool's own folder.
    out=$(ORVANE_MANUAL_CLOCK=1 "$bin/orvane-pattern" --dir "$scratch/printers" beta \
        -o "$scratch/beta.stream" 2>&1) || fault "orvane-pattern beta: failed: $out"
    [[ -s $scratch/printers/VTUSB001/received.stream ]] ||
        fault "orvane-pattern beta: the printer received nothing"

    local tool
    for tool in orvane-read-page orvane-tray orvane-service; do
        [[ -e $bin/$tool ]] || continue
        out=$("$bin/$tool" --help 2>&1) || fault "$tool --help: failed: $out"
    done

    [[ -e $bin/orvane-adjust ]] || return 0
    # The program as the menu starts it: by name, from the PATH. A start-up
    # that does not reach the boot window (a library message box, which
    # waits for a click) ends by the timeout.
    out=$(PATH=$bin:$PATH QT_QPA_PLATFORM=offscreen ORVANE_STARTUP_PROBE=1 \
        timeout 30 orvane-adjust 2>&1) || fault "orvane-adjust start-up probe: failed ($?): $out"
    local port
    for port in VTUSB001 VTUSB002; do
        [[ -f $XDG_STATE_HOME/orvane-vprinter/$port/printer.conf ]] ||
            fault "orvane-adjust start-up probe: no printer $port in the user's state folder"
    done
}

# Installs BUILD into a new scratch prefix: sets scratch and prefix.
stage() {
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/orvane-install-XXXXXX")
    trap 'rm -rf "$scratch"' EXIT
    prefix=$scratch/prefix
    local out
    out=$(cmake --install "$1" --prefix "$prefix" 2>&1) ||
        { echo "cmake --install failed: $out" >&2; exit 1; }
}

# The faults that the check has to find, each made in a staged tree.
break_tree() {
    local prefix=$1 build=$2 scratch=$3
    rm "$prefix/$program_dir/libChanlink.so"
    ln -sfn "$prefix/$program_dir/orvane-pattern" "$prefix/bin/orvane-pattern"
    echo "file(RPATH_CHANGE FILE \"$prefix/$program_dir/orvane-vprinter\" OLD_RPATH \"\$ORIGIN\" NEW_RPATH /b)" \
        >"$scratch/rpath.cmake"
    cmake -P "$scratch/rpath.cmake" >/dev/null
    echo "# $build/bin" >>"$prefix/share/bash-completion/completions/orvane-vprinter"
    rm "$prefix/share/icons/hicolor/48x48/apps/orvane-adjust.png"
    sed -i 's/^Exec=orvane-adjust/Exec=orvane-adjustment/' "$prefix/share/applications/$app_id.desktop"
}

case ${1-} in
    staged)
        build=$(realpath "$2") source=$(realpath "$3")
        stage "$build"
        touch "$scratch/installed"
        check_tree "$prefix" "$build" "$source"
        # In a shell of its own: the scratch home and state folders stay there.
        (faults=0; run_tools "$prefix" "$scratch"; exit $((faults > 255 ? 255 : faults))) ||
            faults=$((faults + $?))
        changed=$(find "$prefix" -newer "$scratch/installed")
        [[ -z $changed ]] || fault "written into the installed tree at run time: ${changed//$'\n'/ }"
        ;;
    tree)
        check_tree "$(realpath "$2")" "$(realpath "$3")" "$(realpath "$4")"
        ;;
    broken)
        build=$(realpath "$2") source=$(realpath "$3")
        stage "$build"
        break_tree "$prefix" "$build" "$scratch"
        check_tree "$prefix" "$build" "$source"
        ;;
    *)
        echo "usage: check-install.sh staged|broken BUILD SOURCE | tree PREFIX BUILD SOURCE" >&2
        exit 2
        ;;
esac

if ((faults > 0)); then
    echo "$faults fault(s)" >&2
    exit 1
fi
