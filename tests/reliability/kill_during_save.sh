#!/usr/bin/env bash
# Kills `tnupdate option` (SIGKILL) at random moments while it saves a large
# layout, and checks after each kill that Config/Display.xml is, byte for
# byte, either the old file or the new one: a save is whole or not at all.
# Temporary files that a killed save leaves beside the layout are counted
# and reported, not failed on.
#
#   kill_during_save.sh TNUPDATE EXAMPLES [TRIALS]     (TRIALS: 20 by default)
#
# TNUPDATE is the built program, EXAMPLES the sample data folder (for its
# command table and its Survey option).
set -euo pipefail
tnupdate=$(realpath "$1")
examples=$(realpath "$2")
trials=${3:-20}

work=$(mktemp -d "${TMPDIR:-/tmp}/tn-kill-during-save.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p install/Config app/Config
cp "$examples/install/Config/Commands.xml" install/Config/
cp "$examples/install/Options/Survey.xml" .

# A layout of a few megabytes: sixteen layout types, each with a ribbon of
# forty tabs and a menu of forty popups, every one of them full of commands.
awk 'BEGIN {
  split("ID_FILE_OPEN ID_FILE_SAVE ID_DRAW_LINE ID_DRAW_CIRCLE ID_VIEW_ZOOM ID_OLD_COMMAND", sid, " ")
  print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
  print "<Display>"
  for (type = 1; type <= 16; type++) {
    printf "  <LayoutType Name=\"Type %d\">\n    <LayoutMode Name=\"Normal\">\n      <Ribbon>\n", type
    id = 0
    for (tab = 1; tab <= 40; tab++) {
      printf "        <Tab Id=\"%d\" Caption=\"%s\">\n", ++id, tab == 1 ? "Home" : "Tab " tab
      for (group = 1; group <= 4; group++) {
        printf "          <Group Id=\"%d\" Caption=\"Group %d\">\n", ++id, group
        for (control = 1; control <= 12; control++)
          printf "            <Control SID=\"%s\" Caption=\"Control %d\"/>\n", sid[control % 6 + 1], control
        print "          </Group>"
      }
      print "        </Tab>"
    }
    print "      </Ribbon>\n      <Menu>"
    for (popup = 1; popup <= 40; popup++) {
      printf "        <Popup Caption=\"%s\">\n", popup == 1 ? "Draw" : "Popup " popup
      for (command = 1; command <= 30; command++)
        printf "          <Command SID=\"%s\" Caption=\"Command %d\"/>\n", sid[command % 6 + 1], command
      print "        </Popup>"
    }
    print "      </Menu>\n    </LayoutMode>\n  </LayoutType>"
  }
  print "</Display>"
}' >old.xml

layout=app/Config/Display.xml
option=(option --folder app --install install Survey Survey.xml)
run() { "$tnupdate" "${option[@]}" >/dev/null; }
now() { date +%s%N; }

# The new file, from a run left alone; the save is the end of a run, after
# the time a run that has nothing to save takes.
cp old.xml "$layout"
start=$(now); run; full=$(($(now) - start))
cp "$layout" new.xml
cmp -s old.xml new.xml && { echo "kill test: the option changed nothing, so there is no save to kill" >&2; exit 1; }
start=$(now); run; unsaved=$(($(now) - start))
echo "kill test: a layout of $(($(stat -c %s old.xml) / 1024)) KB; a run takes $((full / 1000000)) ms," \
  "one with nothing to save $((unsaved / 1000000)) ms"

# Odd trials kill at a random moment from a little before the save can start
# to a little after a run ends; even trials watch the folder and kill a
# random few milliseconds after a file appears beside the layout, while the
# save writes the new content.
low=$((unsaved * 9 / 10))
high=$((full * 11 / 10))
# A busy machine may make the run with nothing to save the slower one.
((high > low)) || high=$((low * 2))
shopt -s dotglob nullglob
seconds() { printf '%d.%09d' $(($1 / 1000000000)) $(($1 % 1000000000)); }
old=0 new=0 torn=0 whileWriting=0 leftovers=0
for ((trial = 1; trial <= trials; trial++)); do
  rm -f app/Config/*
  cp old.xml "$layout"
  "$tnupdate" "${option[@]}" >/dev/null &
  pid=$!
  if ((trial % 2)); then
    sleep "$(seconds "$(shuf -i "$low-$high" -n 1)")"
  else
    while entries=(app/Config/*); ((${#entries[@]} < 2)) && kill -0 "$pid" 2>/dev/null; do :; done
    ((${#entries[@]} < 2)) || whileWriting=$((whileWriting + 1))
    sleep "$(seconds "$(shuf -i 0-5000000 -n 1)")"
  fi
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if cmp -s "$layout" old.xml; then
    old=$((old + 1))
  elif cmp -s "$layout" new.xml; then
    new=$((new + 1))
  else
    torn=$((torn + 1))
    echo "kill test: trial $trial left $layout neither old nor new ($(stat -c %s "$layout" 2>/dev/null || echo no) bytes)" >&2
  fi
  for entry in app/Config/*; do
    [ "$entry" = "$layout" ] || leftovers=$((leftovers + 1))
  done
done

echo "kill test: $trials kills ($whileWriting of them just after a file appeared beside the layout):" \
  "$old left the old layout, $new the new one, $torn neither; $leftovers temporary files were left beside it"
((torn == 0))
