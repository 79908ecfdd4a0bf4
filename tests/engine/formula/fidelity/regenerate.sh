#!/bin/sh
# Rebuilds functions.fods from cases.txt and has LibreOffice compute and save
# it as functions.xls (with a throw-away profile, so no user setting counts).
set -e
cd "$(dirname "$0")"
python3 make_fods.py
profile=$(mktemp -d)
soffice --headless --norestore "-env:UserInstallation=file://$profile" --convert-to xls functions.fods
rm -rf "$profile"
