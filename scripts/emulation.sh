# Sourced: registers QEMU as the runner of 32-bit x86 Linux programs. The
# registration does not survive a reboot, so every script that runs 32-bit Wine
# makes sure of it first. The F flag opens the emulator once, at registration.
i386_emulator_registration=/proc/sys/fs/binfmt_misc/quillet-i386

register_i386_emulator() {
  [ -e "$i386_emulator_registration" ] && return 0
  [ -x /usr/bin/qemu-i386 ] || return 1
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || return 1
  fi
  # ELF header of a 32-bit little-endian x86 executable or shared object.
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":quillet-i386:M::$magic:$mask:/usr/bin/qemu-i386:F" > /proc/sys/fs/binfmt_misc/register 2>/dev/null || return 1
  [ -e "$i386_emulator_registration" ]
}

# Why 32-bit Windows programs cannot run here, as a clause; nothing when they can.
no_32bit_wine_reason() {
  if [ ! -x /usr/lib/wine/wine ]; then
    echo "32-bit Wine is not installed (the install said why)"
  elif ! register_i386_emulator; then
    echo "QEMU cannot be registered as the runner of 32-bit x86 programs here"
  fi
}

can_run_32bit_wine() { [ -z "$(no_32bit_wine_reason)" ]; }
