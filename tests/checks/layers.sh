#!/usr/bin/env bash
# Fails (exit 1, one line per finding) when a folder under SRC_DIR includes a layer above its
# own, or when a Qt-free folder includes Qt. Layers from the bottom:
#   platform < cube < tables < solver < searches < workspace < server, webcam < ui
# Every layer may include platform; server and webcam stand side by side. Qt-free are the
# engine (platform to workspace), webcam's recognition (its camera/ adapter uses Qt
# Multimedia) and ui/keyboard (plain C++ on X11, tested without Qt).
set -u
src="${1:?usage: layers.sh SRC_DIR}"
src=${src%/}

rank() {
    case "$1" in
        platform) echo 0 ;; cube) echo 1 ;; tables) echo 2 ;; solver) echo 3 ;; searches) echo 4 ;;
        workspace) echo 5 ;; server | webcam) echo 6 ;; ui) echo 7 ;; *) echo -1 ;;
    esac
}

# Whether the file (its path below SRC_DIR) belongs to a part that must not use Qt.
qt_free() {
    local path=$1 layer=${1%%/*}
    [ "$(rank "$layer")" -ge 0 ] && [ "$(rank "$layer")" -le 5 ] && return 0
    case "$path" in
        webcam/camera/*) return 1 ;;
        webcam/* | ui/keyboard/*) return 0 ;;
    esac
    return 1
}

status=0
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*'
for dir in "$src"/*/; do
    layer=$(basename "$dir")
    own=$(rank "$layer")
    if [ "$own" -lt 0 ]; then
        echo "$dir: a folder outside the known layers (add it to tests/checks/layers.sh)"
        status=1
        continue
    fi
    while IFS= read -r hit; do
        file=${hit%%:*}
        rest=${hit#*:}
        text=${rest#*:}
        if [[ $text =~ $include\<(Q[A-Za-z]*|qt[A-Za-z]*)[/\>] ]] && qt_free "${file#"$src"/}"; then
            echo "$file: the Qt-free folder $(dirname "${file#"$src"/}") includes Qt: $text"
            status=1
        fi
        if [[ $text =~ $include\"([a-z_]+)/ ]]; then
            target=${BASH_REMATCH[1]}
            other=$(rank "$target")
            if [ "$other" -gt "$own" ]; then
                echo "$file: $layer includes $target, a layer above it: $text"
                status=1
            fi
        fi
    done < <(grep -rnE "$include" "$dir" --include='*.hpp' --include='*.cpp' --include='*.h')
done
exit $status
