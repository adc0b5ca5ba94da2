#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Layers I and II only: decode-vs-mpg123.sh on its layer II and layer I streams.
# Usage: layer12.sh [MPADEC] [RUNS]   (vectors from LEXORIA_SHARED_DIR)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
script="$here/decode-vs-mpg123.sh"
default_mpadec="$here/mpadec"
[ -x "$default_mpadec" ] || default_mpadec="$here/../../build/run/mpadec"
exec "$script" "${1:-$default_mpadec}" "${2:-7}" layer2-192 layer1
