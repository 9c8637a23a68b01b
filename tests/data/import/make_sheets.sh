#!/bin/sh
# Regenerates the sample sheets from payments_sheet.fods with an office
# suite (needed only to remake them; the tests read the committed files):
#   apt-get install -y --no-install-recommends libreoffice-calc-nogui
set -e
cd "$(dirname "$0")"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
for target in xlsx:"Calc MS Excel 2007 XML" ods xls:"MS Excel 97"; do
  soffice -env:UserInstallation="file://$profile" --headless \
    --convert-to "$target" --outdir . payments_sheet.fods >/dev/null
done
