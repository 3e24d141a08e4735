// The argument string of a command line: what follows the program's own name.
#pragma once

// Returns the part of `commandLine` after the program's name and the blanks and control
// characters that follow it: a pointer into `commandLine` itself, at its terminating NUL
// when nothing follows the name. A name that begins with a double quote runs to the closing
// quote (double-byte characters of the ANSI code page stepped over whole, so a trail byte is
// never taken for a quote); any other name runs up to the first byte at or below the blank.
// Bytes are compared unsigned: 0x80 to 0xFF belong to the name or the argument, never to the
// blanks between them. Never reads past the terminating NUL.
const char* ArgumentsOf(const char* commandLine);
