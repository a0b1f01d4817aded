#!/usr/bin/env bash
# Builds tomato's web page (scripts/build-web.sh) and serves it on this
# machine, printing the address to open in a browser. Ctrl-C stops serving.
#   play-web.sh [port]   (8000 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
port="${1:-8000}"
bash scripts/build-web.sh build-web
echo
echo "Tomato is served at http://127.0.0.1:$port/ (the examples at /hello/ and /pathfinder/)."
echo "Open it in a browser; Ctrl-C here stops serving."
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
