#!/bin/sh
# Rebuilds every sample document from its JSON source with vocalore-cli, which
# writes the texts in the code pages of the document's languages.
# Usage: examples/build.sh [path/to/vocalore-cli]
set -e
cli="${1:-build/cli/vocalore-cli}"
dir="$(dirname "$0")"
for json in "$dir"/*.json; do
    "$cli" build "$json" "${json%.json}.vlo"
done
