#!/usr/bin/env bash
# `cmake --install` into a temporary DESTDIR under /usr, used as a person
# would: every file is in place, the installed calvoro-cli calculates and logs
# with its default settings file, the help page lies where the window looks
# for it (../share/calvoro from the program's folder), the metainfo agrees
# with the desktop entry and icon, the settings file goes to the user's
# configuration folder, and the installed bash completion completes commands,
# options, option values and unit names.
#   install_test.sh BUILD-DIR APP-ID
set -euo pipefail
build=$1
app_id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

status=0
expected=(bin/calvoro bin/calvoro-cli share/calvoro/calvoro-help.html
          "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml"
          "share/icons/hicolor/scalable/apps/$app_id.svg"
          share/man/man1/calvoro.1.gz share/man/man1/calvoro-cli.1.gz
          share/bash-completion/completions/calvoro-cli)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${expected[@]}"; do
  [ -s "$usr/$file" ] || { echo "not installed: $file"; status=1; }
done
[ "$(readlink "$usr/share/man/man1/calvoro-cli.1.gz")" = calvoro.1.gz ] ||
  { echo "calvoro-cli.1.gz is not a link to calvoro.1.gz"; status=1; }
grep -q '<html' "$usr/bin/../share/calvoro/calvoro-help.html" ||
  { echo "no help page in ../share/calvoro from the programs' folder"; status=1; }
# The metainfo with the desktop entry and icon it names, as software centres read them.
appstreamcli validate-tree --no-net "$root" >"$root/validate.log" 2>&1 ||
  { cat "$root/validate.log"; status=1; }

# The installed program with its default settings file, in a home of the test's own.
export HOME=$root/home XDG_CONFIG_HOME=$root/home/.config
mkdir -p "$HOME"
result=$("$usr/bin/calvoro-cli" '2(3+4)')
[ "$result" = '2*(3+4)=14' ] || { echo "calvoro-cli '2(3+4)' printed: $result"; status=1; }
[ -s "$XDG_CONFIG_HOME/calvoro/SysData.dat" ] ||
  { echo "no settings file in \$XDG_CONFIG_HOME/calvoro"; status=1; }
[ ! -e "$usr/bin/SysData.dat" ] || { echo "a settings file beside the installed program"; status=1; }
version=$("$usr/bin/calvoro-cli" --version)
[[ $version == "calvoro-cli "[0-9]* ]] || { echo "calvoro-cli --version printed: $version"; status=1; }
log=$("$usr/bin/calvoro-cli" log)
grep -q 'Dec:2(3+4)=2\*(3+4)=14$' <<<"$log" || { echo "calvoro-cli log printed: $log"; status=1; }

# The completion as bash calls it: the words of the line, the last one being completed.
export PATH=$usr/bin:$PATH
source "$usr/share/bash-completion/completions/calvoro-cli"
compopt() { :; }  # only valid while bash completes
complete_line() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _calvoro_cli calvoro-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local IFS='|'
  echo "${COMPREPLY[*]}"
}
while IFS=: read -r words want; do
  eval "line=($words)"
  got=$(complete_line "${line[@]}")
  [ "$got" = "$want" ] || { echo "completing '$words': got '$got', want '$want'"; status=1; }
done <<'CASES'
calvoro-cli co:convert|complex
calvoro-cli --ba:--base
calvoro-cli --base h:hex
calvoro-cli units tem:temperature
calvoro-cli help ro:robot
calvoro-cli robot --action gen:genfilter
calvoro-cli matrix t:trans
calvoro-cli convert 1 'Celsius (C)' --category temperature Fah:Fahrenheit (F)
calvoro-cli convert --category speed 1 'metre/second [m/s]' kilometre/h:kilometre/hour
calvoro-cli 2+3 --ste:--steps
calvoro-cli -3+4 --ste:--steps
calvoro-cli --base a:all
calvoro-cli --settings s units --ver:--version
calvoro-cli log --c:--clear
CASES
exit $status
