#!/bin/sh
# Regenerates every interface picture, the application icon, Images.rc,
# ImageIds.h, IMAGES.md, the main-window mock-ups and the contact sheet
# (artwork/preview/). Needs Debian's python3-pil, fonts-dejavu-core and
# fonts-ipafont-gothic. The build never runs this: the output is committed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
# The system interpreter: Debian's PIL is installed for it, not for pyenv builds.
exec /usr/bin/python3 -B "$here/generate.py"
