// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The archive of the game's pictures, built into the program as it is: its
// pages are mapped from the executable, and a picture is read only where it
// is drawn. The label is 64-byte aligned, as the archive's pixels expect.
#define ZINDRA_STRINGIFY(x) #x
#define ZINDRA_STRING(x) ZINDRA_STRINGIFY(x)

asm(".section .rodata.zindra_art,\"a\",@progbits\n"
    ".balign 64\n"
    ".global zindra_art_begin\n"
    ".hidden zindra_art_begin\n"
    "zindra_art_begin:\n"
    ".incbin \"" ZINDRA_STRING(ZINDRA_ART_FILE) "\"\n"
    ".global zindra_art_end\n"
    ".hidden zindra_art_end\n"
    "zindra_art_end:\n"
    ".previous\n");
