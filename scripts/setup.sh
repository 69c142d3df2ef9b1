#!/usr/bin/env bash
# Installs what this machine lacks to build and test the project: the i686
# mingw-w64 cross compilers, Wine (32-bit), qemu-user for 32-bit code when the
# kernel cannot run it, Xvfb, the Japanese locale and fonts, GoogleTest sources,
# cmake, ninja and the test peers. Idempotent; takes a second when all is present.
set -euo pipefail

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

PACKAGES=(cmake ninja-build g++-mingw-w64-i686 wine wine32:i386 wine64
  xvfb xauth x11-apps imagemagick xdotool locales fonts-noto-cjk fonts-wine
  googletest clang libclang-rt-14-dev python3-aiosmtpd)

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

apt_update() { $SUDO apt-get update -qq || true; }   # a lagging i386 index may fail; harmless

install_main_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  apt_update
  # Resolve from the main suite: the security suite's i386 index can lag behind.
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq -t bookworm --no-install-recommends $missing
}

# The qemu-user of the main suite makes every Wine start cost tens of seconds;
# the backports one does not.
install_qemu() {
  local ver
  ver=$(dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null || true)
  case "$ver" in 1:1[0-9]*|1:[2-9][0-9]*) return 0 ;; esac
  if [ ! -e /etc/apt/sources.list.d/backports.sources ]; then
    local uri
    uri=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources)
    printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' "$uri" |
      $SUDO tee /etc/apt/sources.list.d/backports.sources >/dev/null
  fi
  apt_update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq -t bookworm-backports --no-install-recommends qemu-user-static
}

# Register qemu for 32-bit ELF only when the kernel cannot run such code itself.
register_binfmt() {
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 && return 0
  mountpoint -q /proc/sys/fs/binfmt_misc || $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && return 0
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
    $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null
}

# Wine takes the ANSI code page and the user locale from LANG and needs the
# glibc locale to exist: Japanese for code page 932, German for a locale whose
# decimal separator is a comma.
install_locale() {
  local name missing=0
  for name in ja_JP de_DE; do
    locale -a 2>/dev/null | grep -qi "^$name.utf8\$" && continue
    $SUDO sed -i "s/^# *$name.UTF-8/$name.UTF-8/" /etc/locale.gen
    missing=1
  done
  [ "$missing" -eq 0 ] || $SUDO locale-gen >/dev/null
}

install_main_packages
install_qemu
register_binfmt
install_locale
