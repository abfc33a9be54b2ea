# SPDX-FileCopyrightText: 2026 The Zindra developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Retells, for a file made from another, what that other's machine-readable
# copyright file (Debian's DEP-5) says of it: the copyright and licence fields
# of the paragraph naming it (or else of the one for "*"), and the stand-alone
# License paragraph a bare licence name points to. A copyright file not in
# that form is quoted whole, under "License: other".
#
#   awk -v name=<file name> -v file=<path in the package> -v comment=<text> \
#       -f copyright-stanza.awk <copyright file>

BEGIN { RS = ""; FS = "\n" }
{ paragraph[NR] = $0 }

# A field with its continuation lines, or "".
function field(p, key,    lines, n, i, out, on) {
    n = split(p, lines, "\n")
    out = ""
    on = 0
    for (i = 1; i <= n; i++) {
        if (index(lines[i], key ":") == 1) {
            out = lines[i]
            on = 1
        } else if (on && lines[i] ~ /^[ \t]/) {
            out = out "\n" lines[i]
        } else {
            on = 0
        }
    }
    return out
}

function names(p, pattern,    files) {
    files = field(p, "Files")
    sub(/^Files:/, "", files)
    gsub(/[ \t\n]+/, " ", files)
    return index(" " files " ", " " pattern " ") > 0
}

function indented(text,    lines, n, i, out) {
    n = split(text, lines, "\n")
    out = ""
    for (i = 1; i <= n; i++) {
        out = out "\n " (lines[i] ~ /^[ \t]*$/ ? "." : lines[i])
    }
    return out
}

END {
    for (i = 1; i <= NR && !found; i++) if (names(paragraph[i], name)) found = i
    for (i = 1; i <= NR && !found; i++) if (names(paragraph[i], "*")) found = i
    print "Files: " file
    if (!found) {
        print "Copyright: as stated in the licence text below"
        print "License: other" indented(whole())
        print "Comment: " comment
        exit
    }
    licence = field(paragraph[found], "License")
    print field(paragraph[found], "Copyright")
    print licence
    print "Comment: " comment
    if (index(licence, "\n") == 0) {
        for (i = 1; i <= NR; i++) {
            if (field(paragraph[i], "Files") == "" && index(paragraph[i], licence "\n") == 1) {
                print ""
                print paragraph[i]
                break
            }
        }
    }
}

function whole(    i, out) {
    out = paragraph[1]
    for (i = 2; i <= NR; i++) out = out "\n\n" paragraph[i]
    return out
}
