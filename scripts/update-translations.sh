#!/usr/bin/env bash
# Collects every translatable text of the storyboard (.ui files) with lupdate and adds the texts
# that are new to the string tables "Localizable" (resources/translations/Localizable_*.ts):
# unfinished in Korean and Japanese (to be translated there), the text itself in English.
# The build compiles the tables with lrelease; the tests check that none is left unfinished.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$lupdate" -silent -locations none resources/storyboard/*.ui -ts "$work/storyboard.ts"
python3 scripts/merge-storyboard-texts.py "$work/storyboard.ts" resources/translations/Localizable_*.ts
