# The Windows build and the NSIS sample installers are 32-bit programs, which
# Wine can start only where the kernel runs 32-bit code (IA32 emulation).
can_run_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
