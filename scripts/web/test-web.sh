#!/usr/bin/env bash
# Builds the web pages (scripts/build-web.sh) and plays them in Debian's
# chromium, headless, driven by puppeteer-core (pinned in
# tests/web/package.json, installed from npm into tests/web/node_modules).
#   test-web.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir="${1:-build-web}"
bash scripts/build-web.sh "$build_dir"
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
CORVANE_WEB_BUILD="$(cd "$build_dir" && pwd)" node --test tests/web/
