#!/usr/bin/env bash
# Writes help2man's include file for tnupdate's manual page: a section
# COMMANDS with each command's own help (tnupdate COMMAND --help) in roff,
# its positionals and options as tagged paragraphs.
# Usage: command_help.sh PROGRAM OUTPUT
set -euo pipefail
program=$1
output=$2
{
  echo "[COMMANDS]"
  for command in update option check; do
    echo ".SS \"tnupdate $command\""
    # One line per paragraph: the help is laid out for COLUMNS, roff lays out its own.
    COLUMNS=10000 "$program" "$command" --help | awk '
      # roff takes a backslash as an escape and a bare "-" as a hyphen.
      { gsub(/\\/, "\\e"); gsub(/-/, "\\-") }
      /^$/ { next }
      # The rest of a description that CLI11 puts on a line of its own.
      match($0, /^ +[^ ]/) && RLENGTH > 20 { sub(/^ +/, ""); print text($0); next }
      # A positional or an option, with its description after two spaces.
      /^  [^ ]/ {
        sub(/^ +/, ""); tag = $0; description = ""
        if (match(tag, /   */)) {
          description = substr(tag, RSTART + RLENGTH); tag = substr(tag, 1, RSTART - 1)
        }
        print ".TP"; print "\\fB" tag "\\fR"
        if (description != "") print text(description)
        next
      }
      { print ".PP"; print text($0) }
      # A line that begins with a dot or an apostrophe would be a request.
      function text(line) { return line ~ /^[.\x27]/ ? "\\&" line : line }'
  done
} >"$output"
