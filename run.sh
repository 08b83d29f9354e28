#!/usr/bin/env bash
# Installs what is missing, builds, and starts Orva.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/scripts/setup.sh"
orva_install_packages
orva_build
exec "$ORVA_BUILD_DIR/src/app/orva" "$@"
