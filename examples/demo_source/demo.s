/* The demo program: a header block, a table of squares, a wave table and a closing block,
   each in a flash sector of its own above the boot sector. Assembled for its bytes only. */

        .section .header, "a"
        .globl  demo_start
demo_start:
        .ascii  "KTV-271 demo program\0"
        .balign 16
        .long   0x00010002              /* version 1.2 */
        .ascii  "Loaded by quarvel-cli\0"

        .section .squares, "a"
        .set    n, 0
        .rept   512
        .long   n * n
        .set    n, n + 1
        .endr

        .section .wave, "a"
        .set    n, 0
        .rept   512
        .byte   (n * 37 + (n >> 3) * 11) & 0xFF
        .set    n, n + 1
        .endr

        .section .closing, "a"
        .ascii  "End of the demo program\0"
        .balign 16, 0xFF
