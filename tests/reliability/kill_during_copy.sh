#!/usr/bin/env bash
# Kills `tnupdate update` (SIGKILL) at random moments while it copies the
# shipped initial settings into a new release's folder, and checks after each
# kill that every settings file there is whole, byte for byte its source: a
# later run keeps every file it finds, so a torn one would stay for good.
# Temporary files a killed copy leaves in the folder, or the hidden folder
# beside it that copies into an empty folder are made in, are counted and
# reported, not failed on; a last run left alone must then complete the
# folder and remove them.
#
#   kill_during_copy.sh TNUPDATE EXAMPLES [TRIALS]     (TRIALS: 20 by default)
#
# TNUPDATE is the built program, EXAMPLES the sample data folder (for the
# installation's version file).
set -euo pipefail
tnupdate=$(realpath "$1")
examples=$(realpath "$2")
trials=${3:-20}

work=$(mktemp -d "${TMPDIR:-/tmp}/tn-kill-during-copy.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p install/ja install/Config/InitialSet profile/PLX/OrvoLumen/OrvoLumen profile/UserData
cp "$examples/install/ja/version.xml" install/ja/

# Twenty shipped settings files of 4 MB each, every one of its own content.
for ((file = 1; file <= 20; file++)); do
  head -c $((4 << 20)) /dev/urandom >"install/Config/InitialSet/Setting_$file.xml"
done

config=profile/PLX/OrvoLumen/OrvoLumen/2016_x64/InitialConfig
update=(update --install install --appdata profile/PLX/OrvoLumen/OrvoLumen/2016_x64
        --userdata profile/UserData/2016_x64 --yes install/Update.xml)
now() { date +%s%N; }
seconds() { printf '%d.%09d' $(($1 / 1000000000)) $(($1 % 1000000000)); }
fresh() { rm -rf profile/PLX/OrvoLumen/OrvoLumen/2016_x64 profile/UserData/2016_x64; }

start=$(now); "$tnupdate" "${update[@]}" >/dev/null 2>&1; full=$(($(now) - start))
copied=$(ls "$config" | grep -c '^Setting_') || true
((copied == 20)) || { echo "kill test: a run left alone copied $copied of 20 files" >&2; exit 1; }
echo "kill test: 20 files of 4 MB; a run takes $((full / 1000000)) ms"

shopt -s dotglob nullglob
torn=0 whole=0 leftovers=0
for ((trial = 1; trial <= trials; trial++)); do
  fresh
  "$tnupdate" "${update[@]}" >/dev/null 2>&1 &
  pid=$!
  sleep "$(seconds "$(shuf -i 0-"$full" -n 1)")"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  hidden=("$config"/../.InitialConfig.*)
  leftovers=$((leftovers + ${#hidden[@]}))
  for entry in "$config"/*; do
    name=${entry##*/}
    if [[ $name == .* ]]; then
      leftovers=$((leftovers + 1))
    elif cmp -s "$entry" "install/Config/InitialSet/$name"; then
      whole=$((whole + 1))
    else
      torn=$((torn + 1))
      echo "kill test: trial $trial left $name torn ($(stat -c %s "$entry") bytes)" >&2
    fi
  done
done

# A run left alone after the last kill completes the folder and removes
# what the killed copies left.
"$tnupdate" "${update[@]}" >/dev/null 2>&1
left=("$config"/.* "$config"/../.InitialConfig.*)
((${#left[@]} == 0)) || { echo "kill test: the run after the kills left ${left[*]}" >&2; exit 1; }
for ((file = 1; file <= 20; file++)); do
  cmp -s "$config/Setting_$file.xml" "install/Config/InitialSet/Setting_$file.xml" ||
    { echo "kill test: the run after the kills did not complete Setting_$file.xml" >&2; exit 1; }
done

echo "kill test: $trials kills left $whole whole settings files, $torn torn;" \
  "$leftovers temporary files or hidden folders were left beside them"
((torn == 0))
