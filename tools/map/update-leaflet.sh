#!/usr/bin/env bash
# Refreshes the Leaflet files bundled with the map pages from the npm registry.
set -euo pipefail
cd "$(dirname "$0")"
npm install --no-audit --no-fund >/dev/null
dest=../../resources/map/Kavrin/leaflet
cp node_modules/leaflet/dist/leaflet.js node_modules/leaflet/dist/leaflet.css "$dest/"
cp node_modules/leaflet/LICENSE ../../resources/licenses/leaflet-LICENSE.txt
echo "leaflet $(node -p "require('./node_modules/leaflet/package.json').version") copied to $dest"
