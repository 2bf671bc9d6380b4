# Sourced by the demo scripts: demo_program FOLDER puts a program file to load into FOLDER (a
# copy of the first one in examples/, or one written by srec_cat) and prints its path.
demo_program() {
    local root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    local example
    for example in "$root"/examples/*.a21; do
        if [[ -f $example ]]; then
            cp "$example" "$1/"
            echo "$1/$(basename "$example")"
            return
        fi
    done
    srec_cat -generate 0x8000 0x9000 -repeat-string "KTV-271 demo program " \
        -o "$1/demo_program.a21" -motorola -address-length=2 -obs=32 -crlf \
        -execution-start-address=0x8000
    echo "$1/demo_program.a21"
}
