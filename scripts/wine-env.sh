# Sourced by the test and demo scripts: an X display and a Wine prefix of
# their own, with one persistent wineserver, and the means to end exactly
# those again.
#
#   wine_env_start DIR   fresh prefix DIR/wineprefix (copied from a template
#                        made once in DIR/wineprefix-template), Xvfb, server
#   wine_env_stop        ends the wineserver and the Xvfb started here

WINE_ENV_XVFB_PID=
# Raise when the template's settings change, so kept templates are remade.
WINE_ENV_TEMPLATE_VERSION=3

# The template's stamp: its settings and the Wine it was made with. A prefix
# runs 32-bit programs only when it was made after wine32 was installed (its
# syswow64 is filled then), so installing or updating Wine remakes it.
wine_env_template_stamp() {
    echo "$WINE_ENV_TEMPLATE_VERSION" \
        "$(dpkg-query -W -f='${Package}:${Architecture}=${Version} ' wine32:i386 wine64 2>/dev/null)"
}

wine_env_free_display() {
    local n
    for n in $(seq 90 190); do
        if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

# Some kernels run no 32-bit programs, Wine's 32-bit loader included.
wine_env_runs_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Debian's wine starts the 32-bit loader first: where it cannot run, `wine`
# becomes the 64-bit loader, which runs only the x64 build
# (scripts/build.sh x64full).
wine_env_use_64bit_loader_if_needed() {
    local dir=$1
    wine_env_runs_32bit && return 0
    echo "wine-env: this kernel runs no 32-bit programs; only x64 builds run here" >&2
    mkdir -p "$dir/wine64-only"
    # wineboot and the other tools start wine-stable.
    local name
    for name in wine wine-stable; do
        printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
            >"$dir/wine64-only/$name"
        chmod +x "$dir/wine64-only/$name"
    done
    export PATH="$dir/wine64-only:$PATH"
}

wine_env_start() {
    local dir=$1 n
    mkdir -p "$dir"
    wine_env_use_64bit_loader_if_needed "$dir"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="

    n=$(wine_env_free_display)
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do
        [[ -e /tmp/.X11-unix/X$n ]] && break
        sleep 0.1
    done

    local stamp="$dir/wineprefix-template/.template-version"
    if [[ "$(cat "$stamp" 2>/dev/null)" != "$(wine_env_template_stamp)" ]]; then
        rm -rf "$dir/wineprefix-template"
        WINEPREFIX="$dir/wineprefix-template" wineboot -i </dev/null >"$dir/wineboot.log" 2>&1
        # No window manager runs on the private display: Wine draws the
        # captions and frames itself and maximises windows over the screen.
        WINEPREFIX="$dir/wineprefix-template" wine reg add 'HKCU\Software\Wine\X11 Driver' \
            /v Managed /d N /f </dev/null >>"$dir/wineboot.log" 2>&1
        # Drive A: is a floppy drive whose "disk" is the folder floppy/: tests
        # put a disk's files and its volume label (.windows-label) there.
        WINEPREFIX="$dir/wineprefix-template" wine reg add 'HKLM\Software\Wine\Drives' \
            /v 'a:' /d floppy /f </dev/null >>"$dir/wineboot.log" 2>&1
        # The caption buttons' glyphs come from Marlett, which Debian's
        # Wine ships but does not put where Wine looks for fonts.
        cp /usr/share/wine/fonts/marlett.ttf "$dir/wineprefix-template/drive_c/windows/Fonts/" 2>/dev/null || true
        WINEPREFIX="$dir/wineprefix-template" wineserver -w
        wine_env_template_stamp >"$stamp"
    fi
    rm -rf "$dir/wineprefix" "$dir/floppy"
    cp -a "$dir/wineprefix-template" "$dir/wineprefix"
    mkdir -p "$dir/floppy"
    ln -sfn "$dir/floppy" "$dir/wineprefix/dosdevices/a:"
    export WINEPREFIX="$dir/wineprefix"
    wineserver -p
    wine wineboot </dev/null >"$dir/wineboot.log" 2>&1
}

wine_env_stop() {
    if [[ -n "${WINEPREFIX:-}" ]]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    if [[ -n "$WINE_ENV_XVFB_PID" ]]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=
    fi
}
