#!/usr/bin/env bash
# Refreshes docs/screens/*.png, the pictures of the screens the README shows:
# builds the road test, runs it (offscreen, with the software renderer), and
# copies the picture it saved of each screen it passed.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/setup.sh"
orva_install_packages

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export QT_QUICK_BACKEND="${QT_QUICK_BACKEND:-software}"

if [[ ! -f "$ORVA_BUILD_DIR/build.ninja" ]]; then
    cmake -S "$ORVA_ROOT" -B "$ORVA_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${ORVA_BUILD_TYPE:-RelWithDebInfo}"
fi
cmake --build "$ORVA_BUILD_DIR" --parallel "$(nproc)" --target orva_app_road_test
pictures="$ORVA_BUILD_DIR/tests/app/pictures"
rm -rf "$pictures"
ctest --test-dir "$ORVA_BUILD_DIR" -R '^orva_app_road_test$' --output-on-failure

mkdir -p "$ORVA_ROOT/docs/screens"
for screen in onboarding entry interview guiding work dashboard task-popup completion; do
    cp "$pictures/$screen.png" "$ORVA_ROOT/docs/screens/$screen.png"
done
echo "docs/screens/ refreshed from $pictures"
