# The Windows build and the NSIS sample installers are 32-bit programs, which
# Wine starts with its 32-bit loader. Where the kernel cannot run 32-bit code
# (no IA32 emulation), scripts/setup registers qemu's i386 user-mode emulator
# for 32-bit programs instead.

# Under that emulator the guest address space ends just above 2 GiB: otherwise
# Wine probes the whole upper half 64 KiB at a time at every process start (a
# minute each), and 32-bit Windows programs get 2 GiB anyway. A native 32-bit
# kernel ignores the variable.
export QEMU_RESERVED_VA=0x81000000

can_run_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# Registers /usr/bin/qemu-i386-static for 32-bit x86 programs when the kernel
# cannot start them itself. Needs root; changes nothing where they already run.
enable_32bit_emulation() {
  can_run_32bit && return 0
  local binfmt=/proc/sys/fs/binfmt_misc
  [ -x /usr/bin/qemu-i386-static ] || { echo "setup: qemu-i386-static is missing" >&2; return 1; }
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
  if [ ! -e "$binfmt/orvix-i386" ]; then
    # ELF, 32-bit, little-endian, executable or shared object, machine i386; F: the
    # emulator is opened now, so it also serves programs started in other namespaces.
    printf '%s' ':orvix-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >"$binfmt/register" || return 1
  fi
  can_run_32bit || { echo "setup: 32-bit programs still cannot start" >&2; return 1; }
  echo "setup: 32-bit programs run under qemu-i386 (the kernel has no 32-bit support)"
}
