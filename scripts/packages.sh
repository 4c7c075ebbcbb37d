#!/usr/bin/env bash
# ensure_packages PACKAGE...: installs, with apt-get, those of the Debian
# packages that are not installed yet (through sudo when not root).
# ensure_italian_locale: generates it_IT.UTF-8, which a fresh machine lacks.
ensure_packages() {
  local missing=() package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if ((${#missing[@]} == 0)); then
    return 0
  fi
  local sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

ensure_italian_locale() {
  if locale -a | grep -qi it_IT.utf8; then
    return 0
  fi
  local sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  $sudo sed -i 's/^# *it_IT.UTF-8/it_IT.UTF-8/' /etc/locale.gen
  $sudo locale-gen
}
