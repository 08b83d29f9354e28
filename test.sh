#!/usr/bin/env bash
# Installs what is missing, builds, lints the QML of every module (a warning
# fails the run), and runs every test through ctest: the full build (GCC) in
# build/, then the terminal emulator core and the model's parsers of claude's
# files and replies under AddressSanitizer and UndefinedBehaviorSanitizer
# (Clang, with their libFuzzer targets, over Qt Core) in build-san/. The
# claude CLI of the one test that runs the real one is installed with npm
# into build/claude-cli.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/scripts/setup.sh"
orva_install_packages

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export QT_QUICK_BACKEND="${QT_QUICK_BACKEND:-software}"

# Warnings are errors here, as in CI (a plain configure leaves them warnings).
orva_build -DORVA_WERROR=ON
orva_install_claude_cli
cmake --build "$ORVA_BUILD_DIR" --target all_qmllint
ctest --test-dir "$ORVA_BUILD_DIR" --output-on-failure -j "$(nproc)"

SAN_DIR="$ORVA_ROOT/build-san"
if [[ ! -f "$SAN_DIR/build.ninja" ]]; then
    CC=clang CXX=clang++ cmake -S "$ORVA_ROOT" -B "$SAN_DIR" -G Ninja \
        -DCMAKE_BUILD_TYPE=Debug -DORVA_CORE_ONLY=ON -DORVA_SANITIZE=ON -DORVA_FUZZ=ON -DORVA_WERROR=ON
else
    cmake -S "$ORVA_ROOT" -B "$SAN_DIR" -DORVA_WERROR=ON
fi
cmake --build "$SAN_DIR" --parallel "$(nproc)"
ctest --test-dir "$SAN_DIR" --output-on-failure -j "$(nproc)"
