#!/usr/bin/env bash
# Renders the main window with the installed Japanese fonts on a virtual X display
# (Xvfb, 96 dpi) into docs/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
cmake --build --preset dev --target quorvane_screenshot
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    env QT_QPA_PLATFORM=xcb build/dev/docs/screenshot/quorvane_screenshot docs/screenshot.png
