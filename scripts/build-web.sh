#!/usr/bin/env bash
# Builds the browser page: the engine compiled to WebAssembly with Debian's emscripten, the
# page's own files, the plotting library and the example decks, all into build-web/site,
# a folder of static files that any web server can serve.
#   bash scripts/build-web.sh            build
#   bash scripts/build-web.sh --serve    build, then serve on http://127.0.0.1:8000/
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=${ZARNO_WEB_BUILD:-$root/build-web}
site=$out/site
mkdir -p "$out" "$site"

# emscripten's JavaScript optimizer needs Debian's node modules (acorn) when the node first
# on PATH is not Debian's. Its system libraries come prebuilt with the Debian package.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# Only the fmt and nlohmann headers are given to the compiler, never the whole of /usr/include.
mkdir -p "$out/headers"
ln -sfn /usr/include/fmt "$out/headers/fmt"
ln -sfn /usr/include/nlohmann "$out/headers/nlohmann"

start=$(date +%s)
emcmake cmake -S web -B "$out/engine" -DCMAKE_BUILD_TYPE=Release \
    -DZARNO_WEB_HEADERS="$out/headers" >/dev/null
cmake --build "$out/engine" -j2
echo "WebAssembly engine built in $(($(date +%s) - start)) s"

# npm packages come from the committed lock file, at build time only.
if [ ! -d web/node_modules ] || [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; then
    (cd web && npm ci --no-audit --no-fund)
fi

cp "$out/engine/zarno_engine.mjs" "$out/engine/zarno_engine.wasm" "$site/"
cp web/index.html web/*.js web/*.css "$site/"
mkdir -p "$site/vendor" "$site/examples"
cp web/node_modules/plotly.js-dist-min/plotly.min.js "$site/vendor/"
cp examples/*.inp "$site/examples/"
cp docs/deck-schema.json "$site/"
echo "Page built in $site"

if [ "${1:-}" = "--serve" ]; then
    echo "Serving on http://127.0.0.1:8000/ (Ctrl-C stops)"
    exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory "$site" 8000
fi
