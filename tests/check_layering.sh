#!/usr/bin/env bash
# Checks the folders' layering from the #include lines of the program's sources:
#     tests/check_layering.sh SOURCE_DIR QTWIDGETS_INCLUDE_DIR
# Each folder includes only its own headers and those of folders below it in
#     store < platform < ui < forms < print < help < signin, courses, training, backup
#     < search < lobby < app
# so the four folders of one step never include one another; lobby/frmLobby.h is included by
# the Lobby's own files alone; store/ includes no header of the QtWidgets module. tools/,
# bench/, fuzz/, package/ and tests/ stand above the program and may include any of it.
# Prints the include graph by folder, then every breach; fails if there is one.
set -euo pipefail
top="${1:?source folder}"
widgets="${2:?QtWidgets include folder}"
[ -d "$widgets" ] || { echo "No QtWidgets include folder at $widgets" >&2; exit 2; }

declare -A level=([store]=0 [platform]=1 [ui]=2 [forms]=3 [print]=4 [help]=5 [signin]=6
                  [courses]=6 [training]=6 [backup]=6 [search]=7 [lobby]=8 [app]=9)
declare -A above=([tools]=1 [bench]=1 [fuzz]=1 [package]=1 [tests]=1)
declare -A edges=()
breaches=()

cd "$top"
while IFS= read -r hit; do
    file="${hit%%:*}"
    rest="${hit#*:}"
    line="${rest%%:*}"
    [[ "${rest#*:}" =~ include[[:space:]]*[\<\"]([^\>\"]+) ]] || continue
    header="${BASH_REMATCH[1]}"
    from="${file%%/*}"
    where="$file:$line"
    # The tests name their own helpers from tests/ ("lobby/test_lobby_data.h").
    if [ "$from" = tests ] && [ -e "tests/$header" ]; then
        continue
    fi
    if [[ "$header" == */* ]]; then
        to="${header%%/*}"
    else
        to=""
    fi
    if [ "$from" = store ] && { [ "$to" = QtWidgets ] || [ -e "$widgets/$header" ]; }; then
        breaches+=("$where: store/ includes the widget header <$header>")
    fi
    if [ -n "$to" ] && [ -n "${level[$to]+x}" ] && [ "$to" != "$from" ]; then
        edges["$from -> $to"]=$((${edges["$from -> $to"]:-0} + 1))
        if [ -n "${level[$from]+x}" ] && [ "${level[$to]}" -ge "${level[$from]}" ]; then
            breaches+=("$where: $from/ includes $header, which is not below it")
        fi
    fi
    if [ -n "$to" ] && [ -n "${above[$to]+x}" ] && [ -n "${level[$from]+x}" ]; then
        breaches+=("$where: $from/ includes $header from $to/, which stands above the program")
    fi
    if [ "$header" = lobby/frmLobby.h ] && [ -n "${level[$from]+x}" ] && [ "$from" != lobby ]; then
        breaches+=("$where: only the Lobby's own files include lobby/frmLobby.h")
    fi
done < <(grep -rnE --include='*.h' --include='*.cpp' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"][^>"]+[>"]' \
    "${!level[@]}" "${!above[@]}" | sort)

echo "Includes by folder (files' include lines):"
for edge in "${!edges[@]}"; do
    echo "  $edge: ${edges[$edge]}"
done | sort
if [ ${#breaches[@]} -gt 0 ]; then
    echo "Layering breached:"
    printf '  %s\n' "${breaches[@]}"
    exit 1
fi
echo "No folder includes one at or above its own step; store/ includes no widget header."
