#!/usr/bin/env bash
# Writes a manual page whose body is a program's own --help text, so the
# page says exactly what the program says and cannot fall behind it.
#
#   help-to-man.sh TEMPLATE PROGRAM OUTPUT
#
# TEMPLATE is a roff page (title, NAME, SEE ALSO, ...) with one line
# `.\" --help` where the sections made from `PROGRAM --help` go. Every
# command that help lists in a section COMMANDS (a tag of one word) gets a
# section of its own after them, made from `PROGRAM COMMAND --help` in the
# same way, its headings as subsections. A help text is read as
#
#   description lines            DESCRIPTION (placed after SYNOPSIS)
#   Usage: PROGRAM ARGS          SYNOPSIS
#   Options:                     a section (Positionals: is ARGUMENTS)
#   HEADING (note): text         a section HEADING whose text starts with
#                                "(note) text"; headings follow an empty line
#   text at the margin           filled paragraphs; an empty line ends one
#     TAG  text                  a tagged paragraph; deeper lines continue it
#     TAG                        the same, its text on the deeper lines below
#     text                       an indented paragraph, or verbatim lines in
#                                a section named EXAMPLE or EXAMPLES
set -euo pipefail
trap 'echo "help-to-man.sh: line $LINENO: $BASH_COMMAND failed" >&2' ERR

template=$1 program=$2 output=$3

# Text as roff reads it: backslashes and hyphens printed as typed (a
# hyphen in an option must copy as the ASCII one), and a line that starts
# with a dot or quote is text, not a request.
roff_text() {
  local text=${1//\\/\\e}
  text=${text//-/\\-}
  [[ $text == [.\']* ]] && text="\\&$text"
  printf '%s\n' "$text"
}

# The help text of PROGRAM ARGS... --help; the build stops when there is none.
help_of() {
  local text
  text=$("$program" "$@" --help) || {
    echo "help-to-man.sh: $program $* --help exited with $?" >&2
    exit 1
  }
  [[ -n $text ]] || {
    echo "help-to-man.sh: $program $* --help printed nothing" >&2
    exit 1
  }
  printf '%s\n' "$text"
}

emit() { body+=("$@"); }

start_section() {
  local heading=$1
  case $heading in
    Positionals) heading=ARGUMENTS ;;
  esac
  section=${heading^^}
  emit "$heading_macro" "$(roff_text "$section")"
  state=start
}

end_verbatim() {
  if [[ $state == verbatim ]]; then
    emit .fi .RE
  fi
}

heading_re='^([A-Z][A-Z0-9]*( [A-Z][A-Z0-9]*)*)( (\([^)]*\)))?:( +(.*))?$'
cli_heading_re='^([A-Z][a-z]+( [a-z]+)*):$'
usage_re='^Usage: +(.*)$'
item_re='^( +)([^ ].*[^ ]|[^ ])  +([^ ].*)$'

# Reads a help text into synopsis, description and body, its section headings
# made with heading_macro (.SH or .SS); the commands it lists under COMMANDS
# are added to commands.
parse_help() {
  local help=$1 line was_blank indent
  heading_macro=$2
  synopsis=() description=() body=()
  section=""          # the section being written; empty before the first one
  state=start         # start, text, item, indented, verbatim or gap
  item_indent=0
  paragraph_start=0   # where the indented paragraph being written starts in body
  paragraph_lines=0
  previous_blank=1
  while IFS= read -r line || [[ -n $line ]]; do
    line=${line%$'\r'}
    if [[ -z ${line//[[:space:]]/} ]]; then
      end_verbatim
      [[ $state == start ]] || state=gap
      previous_blank=1
      continue
    fi
    was_blank=$previous_blank
    previous_blank=0

    if [[ $line =~ $usage_re ]]; then
      synopsis+=("${BASH_REMATCH[1]}")
      continue
    fi
    if [[ -z $section && ${#synopsis[@]} -eq 0 && $line != " "* ]]; then
      description+=("$line")
      continue
    fi
    if ((was_blank)) || [[ -z $section ]]; then
      if [[ $line =~ $cli_heading_re ]]; then
        end_verbatim
        start_section "${BASH_REMATCH[1]}"
        continue
      fi
      if [[ $line =~ $heading_re ]]; then
        end_verbatim
        start_section "${BASH_REMATCH[1]}"
        rest="${BASH_REMATCH[4]}${BASH_REMATCH[4]:+${BASH_REMATCH[6]:+ }}${BASH_REMATCH[6]}"
        if [[ -n $rest ]]; then
          emit "$(roff_text "$rest")"
          state=text
        fi
        continue
      fi
    fi
    if [[ -z $section ]]; then
      start_section DESCRIPTION
    fi

    indent=${line%%[! ]*}
    indent=${#indent}
    if ((indent == 0)); then
      end_verbatim
      case $state in
        item | indented | gap) emit .PP ;;
      esac
      emit "$(roff_text "$line")"
      state=text
    elif [[ $section == EXAMPLE || $section == EXAMPLES ]]; then
      # Commands stay as typed: no filling, no adjusting.
      if [[ $state != verbatim ]]; then
        emit ".RS 4" .nf
        state=verbatim
        item_indent=$indent
      fi
      ((indent >= item_indent)) || item_indent=$indent
      emit "$(roff_text "$(printf '%*s%s' $((indent - item_indent)) '' "${line#"${line%%[! ]*}"}")")"
    elif [[ ($state == item || $state == indented) && $indent -gt $item_indent ]]; then
      # A lone indented line with deeper lines under it is a tag whose text
      # did not fit beside it (a long option).
      if [[ $state == indented && $paragraph_lines -eq 1 ]]; then
        body[paragraph_start]=.TP
        state=item
      fi
      emit "$(roff_text "${line#"${line%%[! ]*}"}")"
      paragraph_lines=$((paragraph_lines + 1))
    elif [[ $line =~ $item_re ]]; then
      if [[ $section == COMMANDS && $heading_macro == .SH && ${BASH_REMATCH[2]} != *" "* ]]; then
        commands+=("${BASH_REMATCH[2]}")
      fi
      emit .TP "$(roff_text "${BASH_REMATCH[2]}")" "$(roff_text "${BASH_REMATCH[3]}")"
      state=item
      item_indent=$indent
    else
      paragraph_start=${#body[@]}
      paragraph_lines=1
      emit .IP "$(roff_text "${line#"${line%%[! ]*}"}")"
      state=indented
      item_indent=$indent
    fi
  done <<<"$help"
  end_verbatim
}

# The usage lines as bold program names and their arguments.
synopsis_lines() {
  local first=1 usage
  for usage in "${synopsis[@]}"; do
    ((first)) || generated+=(.br)
    first=0
    generated+=(".B $(roff_text "${usage%% *}")")
    [[ $usage == *" "* ]] && generated+=("$(roff_text "${usage#* }")")
  done
}

commands=()
top_help=$(help_of)
parse_help "$top_help" .SH
generated=()
if ((${#synopsis[@]})); then
  generated+=(.SH SYNOPSIS)
  synopsis_lines
fi
if ((${#description[@]})); then
  generated+=(.SH DESCRIPTION)
  for text in "${description[@]}"; do
    generated+=("$(roff_text "$text")")
  done
fi
generated+=("${body[@]}")

# Each command: its usage, what it does, then its own sections.
for command in "${commands[@]}"; do
  command_help=$(help_of "$command")
  parse_help "$command_help" .SS
  generated+=(.SH "$(roff_text "COMMAND ${command^^}")")
  synopsis_lines
  for text in "${description[@]}"; do
    generated+=(.PP "$(roff_text "$text")")
  done
  generated+=("${body[@]}")
done

marker=$'\n.\\" --help\n'
page=$(<"$template")
[[ $page == *"$marker"* ]] || {
  echo "help-to-man.sh: $template has no line '.\\\" --help'" >&2
  exit 1
}
{
  printf '%s\n' "${page%%"$marker"*}"
  printf '%s\n' "${generated[@]}"
  printf '%s\n' "${page#*"$marker"}"
} >"$output.tmp"
mv -f -- "$output.tmp" "$output"
