#!/usr/bin/env bash
# ensure_packages PACKAGE...: installs, with apt-get, those of the Debian
# packages that are not installed yet.
# ensure_italian_locale: generates it_IT.UTF-8, which a fresh machine lacks.
# run_as_root COMMAND: runs the shell command COMMAND as root: itself when root,
# through sudo when not; with neither, prints COMMAND for the user to run as root
# and stops the script.
run_as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    bash -c "$1"
  elif command -v sudo >/dev/null 2>&1; then
    sudo bash -c "$1"
  else
    printf '%s needs root, and there is no sudo here. As root, run:\n\n%s\n\nthen run %s again.\n' \
      "$(basename "$0")" "$1" "$(basename "$0")" >&2
    exit 1
  fi
}

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
  echo "Installing: ${missing[*]}"
  # The variable is set inside the command: sudo would not pass it on.
  run_as_root "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ${missing[*]}"
}

ensure_italian_locale() {
  if locale -a | grep -qi it_IT.utf8; then
    return 0
  fi
  run_as_root "sed -i 's/^# *it_IT.UTF-8/it_IT.UTF-8/' /etc/locale.gen && locale-gen"
}
