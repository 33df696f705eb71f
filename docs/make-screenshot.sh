#!/usr/bin/env bash
# Renders the main window, the run window during a copy and its report with the
# installed Japanese fonts into docs/screenshot*.png, off screen.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
cmake --build --preset dev --target quorvane_screenshot
QT_QPA_PLATFORM=offscreen build/dev/docs/screenshot/quorvane_screenshot \
    docs/screenshot.png docs/screenshot-run.png docs/screenshot-report.png
