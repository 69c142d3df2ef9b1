#!/usr/bin/env bash
# Makes the README's pictures anew: runs the application's end-to-end tests
# (which photograph each tab of the real window under Wine) and keeps the
# message tab and the address-book tab, cut to the window and compressed.
#   docs-screenshots.sh [BUILD_WIN32]   (after `make build`)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
win32=${1:-$here/../build/win32}
ctest --test-dir "$win32" -R 'wine_session|app_window_tests' --output-on-failure >/dev/null
shots=$win32/tests/app/screenshots
docs=$here/../docs
mkdir -p "$docs"
# The desktop around the window is one colour: trimming it leaves the window.
convert "$shots/tab1.png" -trim +repage -strip "$docs/message-tab.png"
convert "$shots/tab2.png" -trim +repage -strip "$docs/address-book-tab.png"
echo "Wrote $docs/message-tab.png and $docs/address-book-tab.png"
