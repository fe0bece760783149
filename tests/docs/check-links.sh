#!/usr/bin/env bash
# Checks that every relative link of ROOT/README.md and ROOT/docs/*.md leads
# somewhere: the file or folder it names exists, and an anchor (#name) names a
# heading of the Markdown file it points into, as GitHub makes the anchors
# (lower case, blanks to "-", other than letters, digits, "-" and "_" left
# out; a heading met again gets "-1", "-2" ...). Links to other sites are left
# alone (no network); links in code blocks and code spans are no links.
#
#   check-links.sh ROOT [MAX_README_LINES]
#
# With MAX_README_LINES, the front page is also held to that many lines: the
# reference belongs in docs/.
#
# Any fault is listed on stderr as FILE:LINE: what; the exit code is then 1.
set -uo pipefail
export LC_ALL=C.UTF-8

root=${1:?usage: check-links.sh ROOT [MAX_README_LINES]}
most=${2-}
faults=0
fault() {
    echo "$*" >&2
    faults=$((faults + 1))
}

# The lines of a Markdown file outside fenced code blocks, as "NUMBER TEXT",
# with code spans taken out.
prose() {
    awk '/^[ \t]*(```|~~~)/ { fenced = !fenced; next }
         !fenced { gsub(/`[^`]*`/, ""); print NR " " $0 }' "$1"
}

# The anchors of a Markdown file's headings, one a line. (Letters beyond
# ASCII, which GitHub keeps, are left out: no heading here has one.)
anchors() {
    awk '/^[ \t]*(```|~~~)/ { fenced = !fenced; next }
         !fenced && /^#+ / {
             sub(/^#+ +/, ""); sub(/ +#* *$/, "")
             anchor = tolower($0)
             gsub(/[^a-z0-9 _-]/, "", anchor)
             gsub(/ /, "-", anchor)
             n = seen[anchor]++
             print n ? anchor "-" n : anchor
         }' "$1"
}

# Each Markdown file's anchors, made once.
declare -A anchors_of

files=("$root/README.md")
for file in "$root"/docs/*.md; do
    [[ -e $file ]] && files+=("$file")
done
[[ -f ${files[0]} ]] || fault "$root/README.md: no such file"
if [[ -n $most && -f ${files[0]} ]]; then
    lines=$(wc -l <"${files[0]}")
    ((lines <= most)) || fault "README.md: $lines lines, more than $most: move the reference to docs/"
fi

link='\]\(([^) ]*)( [^)]*)?\)'
checked=0
for file in "${files[@]}"; do
    [[ -f $file ]] || continue
    name=${file#"$root"/}
    folder=$(dirname "$file")
    while IFS= read -r line; do
        number=${line%% *}
        text=${line#* }
        # Each link's target: what stands in brackets after "](", up to a
        # blank (a title may follow) or the closing bracket.
        while [[ $text =~ $link ]]; do
            target=${BASH_REMATCH[1]}
            text=${text#*"${BASH_REMATCH[0]}"}
            case $target in
                http://* | https://* | mailto:*) continue ;;
            esac
            checked=$((checked + 1))
            path=${target%%#*}
            anchor=''
            [[ $target == *#* ]] && anchor=${target#*#}
            into=$file
            if [[ -n $path ]]; then
                into=$folder/$path
                if [[ ! -e $into ]]; then
                    fault "$name:$number: $target: no such file or folder"
                    continue
                fi
            fi
            if [[ -n $anchor ]]; then
                if [[ $into != *.md || ! -f $into ]]; then
                    fault "$name:$number: $target: an anchor into what is no Markdown file"
                    continue
                fi
                [[ -v anchors_of[$into] ]] || anchors_of[$into]=$(anchors "$into")
                if ! grep -qxF -- "$anchor" <<<"${anchors_of[$into]}"; then
                    fault "$name:$number: $target: no heading makes the anchor #$anchor"
                fi
            fi
        done
    done < <(prose "$file")
done

if ((faults > 0)); then
    echo "$faults fault(s) in $checked link(s)" >&2
    exit 1
fi
echo "ok: $checked link(s) in ${#files[@]} file(s)"
