#!/usr/bin/env bash
# Shared set-up for run.sh and test.sh: installs the Debian packages listed in
# scripts/packages.txt that are missing, then configures and builds into build/.
set -euo pipefail

ORVA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ORVA_BUILD_DIR="${ORVA_BUILD_DIR:-$ORVA_ROOT/build}"

# The packages of a list (scripts/packages.txt by default) that are missing.
orva_missing_packages() {
    local list="${1:-$ORVA_ROOT/scripts/packages.txt}"
    local pkg missing=()
    while read -r pkg; do
        pkg="${pkg%%#*}"; pkg="${pkg//[[:space:]]/}"
        [[ -z "$pkg" ]] && continue
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done < "$list"
    echo "${missing[@]:-}"
}

orva_install_packages() {
    local missing
    missing="$(orva_missing_packages "$@")"
    if [[ -z "$missing" ]]; then
        return 0
    fi
    echo "Installing missing packages: $missing"
    local sudo=""
    if [[ "$(id -u)" != "0" ]]; then
        if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
            echo "Packages missing and neither root nor sudo: $missing" >&2; return 1
        fi
    fi
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

# orva_build [cmake options...]: configures build/ the first time (type
# ORVA_BUILD_TYPE, RelWithDebInfo by default), applies the options given, and
# ORVA_BUILD_TYPE when it is set, to a folder configured before, and builds.
orva_build() {
    local build_type="${ORVA_BUILD_TYPE:-RelWithDebInfo}"
    if [[ ! -f "$ORVA_BUILD_DIR/build.ninja" ]]; then
        cmake -S "$ORVA_ROOT" -B "$ORVA_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "$@"
    else
        local options=("$@")
        [[ -n "${ORVA_BUILD_TYPE:-}" ]] && options+=(-DCMAKE_BUILD_TYPE="$ORVA_BUILD_TYPE")
        if [[ ${#options[@]} -gt 0 ]]; then
            cmake -S "$ORVA_ROOT" -B "$ORVA_BUILD_DIR" "${options[@]}"
        fi
    fi
    cmake --build "$ORVA_BUILD_DIR" --parallel "$(nproc)"
}

# The claude CLI the test with the real claude runs against, pinned: installed
# with npm into the build folder (never globally) when npm is on the machine.
# Without npm, or offline, that one test is skipped and says so.
ORVA_CLAUDE_CLI_VERSION=2.1.197
orva_install_claude_cli() {
    local dir="$ORVA_BUILD_DIR/claude-cli"
    local claude="$dir/node_modules/.bin/claude"
    if [[ -x $claude && "$(DISABLE_AUTOUPDATER=1 "$claude" --version 2>/dev/null)" == "$ORVA_CLAUDE_CLI_VERSION "* ]]; then
        return 0
    fi
    if ! command -v npm >/dev/null 2>&1; then
        echo "npm is not installed: the test with the real claude CLI will be skipped"
        return 0
    fi
    mkdir -p "$dir"
    if ! npm install --prefix "$dir" --no-audit --no-fund "@anthropic-ai/claude-code@$ORVA_CLAUDE_CLI_VERSION" \
        > "$dir/npm.log" 2>&1; then
        echo "npm could not install @anthropic-ai/claude-code@$ORVA_CLAUDE_CLI_VERSION (see $dir/npm.log):" \
            "the test with the real claude CLI will be skipped"
    fi
}
