#!/usr/bin/env bash
# Writes examples/demo.a21, the program file that `make demo` loads, from the tiny assembly
# source in examples/demo_source: assembled and linked by binutils, turned into S-records by
# objcopy (a header record, S2 data records in sectors 1, 3, 5 and 10, an S8 end record).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source_dir=$root/examples/demo_source
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

as -o "$work/demo.o" "$source_dir/demo.s"
ld -T "$source_dir/demo.ld" -o "$work/demo.elf" "$work/demo.o"
# objcopy names the output file in the header record: a bare name keeps the file reproducible.
(cd "$work" && objcopy -O srec --srec-len 32 demo.elf demo.a21)
mv "$work/demo.a21" "$root/examples/demo.a21"
echo "wrote $root/examples/demo.a21"
