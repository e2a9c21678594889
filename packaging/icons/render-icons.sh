#!/bin/sh
# Renders the committed PNG icons of the hicolor theme from their SVG drawings.
# The large sizes come from the scalable drawing; 22 and 24 pixels from a drawing made on
# a 24-pixel grid and 16 pixels from one made on a 16-pixel grid, so that the small icons
# stay sharp. Needs rsvg-convert (Debian: librsvg2-bin). Run it after changing a drawing
# and commit the results.
set -eu

here=$(cd -- "$(dirname -- "$0")" && pwd)
command -v rsvg-convert >/dev/null 2>&1 || {
    echo "render-icons.sh: rsvg-convert is missing (apt-get install librsvg2-bin)" >&2
    exit 1
}

render() { # context name
    context=$1
    name=$2
    for size in 16 22 24 32 48 64 128 256; do
        case $size in
            16) source=$here/$name-16.svg ;;
            22 | 24) source=$here/$name-small.svg ;;
            *) source=$here/$name.svg ;;
        esac
        out=$here/hicolor/${size}x${size}/$context
        mkdir -p "$out"
        rsvg-convert --width "$size" --height "$size" --format png \
            --output "$out/$name.png" "$source"
    done
}

render apps vmreditor
render mimetypes application-x-velmor-port+xml
