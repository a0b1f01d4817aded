#!/usr/bin/env bash
# Builds tomato's web page and measures it in chromium (bench/web/bench-web.mjs):
# bytes downloaded, time to the title's first frame, painting time and the
# loop's pace over a while of play.   bench-web.sh [seconds of play, 30]
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/build-web.sh build-web > /dev/null
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node bench/web/bench-web.mjs "$(pwd)/build-web/site" "${1:-30}"
