#!/usr/bin/env bash
# Refreshes docs/screens/*.png, the pictures of the screens the README shows:
# builds the road test, runs it (offscreen, with the software renderer), and
# copies the picture it saved of each screen it passed; then the entry
# screen's pictures of what a person sees when claude fails or is slow, and
# the terminal panel while claude asks its first question.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/setup.sh"
orva_install_packages

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export QT_QUICK_BACKEND="${QT_QUICK_BACKEND:-software}"

if [[ ! -f "$ORVA_BUILD_DIR/build.ninja" ]]; then
    cmake -S "$ORVA_ROOT" -B "$ORVA_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${ORVA_BUILD_TYPE:-RelWithDebInfo}"
fi
cmake --build "$ORVA_BUILD_DIR" --parallel "$(nproc)" --target orva_app_road_test orva_ui_screens_entry_pictures \
    orva_ui_screens_work_pictures
pictures="$ORVA_BUILD_DIR/tests/app/pictures"
rm -rf "$pictures"
ctest --test-dir "$ORVA_BUILD_DIR" -R '^orva_app_road_test$' --output-on-failure

mkdir -p "$ORVA_ROOT/docs/screens"
for screen in onboarding entry interview guiding work dashboard task-popup completion; do
    cp "$pictures/$screen.png" "$ORVA_ROOT/docs/screens/$screen.png"
done

# The entry screen when claude is logged out, and while it is still awaited.
entry_pictures="$ORVA_BUILD_DIR/tests/ui/screens/entry/pictures"
rm -rf "$entry_pictures"
ORVA_PICTURES_ONLY=entry_failed_logged_out,entry_waiting_long \
    ctest --test-dir "$ORVA_BUILD_DIR" -R '^orva_ui_screens_entry_pictures$' --output-on-failure
cp "$entry_pictures/entry_failed_logged_out.png" "$ORVA_ROOT/docs/screens/entry-logged-out.png"
cp "$entry_pictures/entry_waiting_long.png" "$ORVA_ROOT/docs/screens/entry-waiting.png"

# The terminal panel while claude asks its folder-trust question.
work_pictures="$ORVA_BUILD_DIR/tests/ui/screens/work/pictures"
rm -rf "$work_pictures"
ORVA_PICTURES_ONLY=terminal_claudeAsking \
    ctest --test-dir "$ORVA_BUILD_DIR" -R '^orva_ui_screens_work_pictures$' --output-on-failure
cp "$work_pictures/terminal_claudeAsking.png" "$ORVA_ROOT/docs/screens/work-claude-asking.png"
echo "docs/screens/ refreshed from $pictures, $entry_pictures and $work_pictures"
