#!/usr/bin/env bash
# Names a picture folder in the program's lumi.ini and sets the keys asked
# for, changing nothing else: the folders, position, play state and last
# picture the program saved stay. Prints the interval in effect.
#
#   scripts/demo-config.sh LUMI_INI FOLDER [KEY=VALUE...]
#
# FOLDER is the folder as Windows names it (Z:\home\me\Pictures); when no
# folder section up to "pathcount" names it yet (in any letter case), it gets
# the next one, with an empty "time" so that the program scans it. KEY=VALUE
# pairs set keys of section GENERAL, such as playinterval=10. A missing file
# is made. The file is read as the program reads it: UTF-16 with or without
# a byte-order mark, UTF-8 with one, or else the ANSI code page of the demo's
# Chinese locale (936), and written back as the program writes it, UTF-16 LE
# with the mark. A file that cannot be read that way is left alone.
set -euo pipefail
ini="$1" folder="$2"
shift 2
export LUMI_FOLDER="$folder" LUMI_SETS="$*"
ansi=CP936

# The text as UTF-8.
decode() {
  [ -e "$ini" ] || return 0
  case "$(head -c 3 "$ini" | od -An -tx1 | tr -d ' \n')" in
    fffe*) tail -c +3 "$ini" | iconv -f UTF-16LE -t UTF-8 ;;
    feff*) tail -c +3 "$ini" | iconv -f UTF-16BE -t UTF-8 ;;
    efbbbf) tail -c +4 "$ini" | iconv -f UTF-8 -t UTF-8 ;;
    0000*) iconv -f "$ansi" -t UTF-8 "$ini" ;;
    [0-7][0-9a-f]00*) iconv -f UTF-16LE -t UTF-8 "$ini" ;;
    00[0-7][0-9a-f]*) iconv -f UTF-16BE -t UTF-8 "$ini" ;;
    *) iconv -f "$ansi" -t UTF-8 "$ini" ;;
  esac
}

# The profile functions' rules, as far as these few keys need them: names
# match without regard to letter case and with blanks trimmed; the first
# section of a name, and the first key of a name in it, count; a new key goes
# after its section's last line that is not blank, a new section at the end;
# a value with blanks at its ends goes in quotes.
edit='
function trim(s) { sub(/^[ \t\n\v\f\r]+/, "", s); sub(/[ \t\n\v\f\r]+$/, "", s); return s }
function header(text,   t) {
  t = trim(text)
  if (substr(t, 1, 1) != "[" || !match(t, /\][^\]]*$/)) return SUBSEP
  return tolower(trim(substr(t, 2, RSTART - 2)))
}
function keyof(text) { return tolower(trim(index(text, "=") ? substr(text, 1, index(text, "=") - 1) : text)) }
function valueof(text,   v, q) {
  if (!index(text, "=")) return ""
  v = trim(substr(text, index(text, "=") + 1)); q = substr(v, 1, 1)
  if (length(v) > 1 && (q == "\"" || q == "\047") && substr(v, length(v)) == q) v = substr(v, 2, length(v) - 2)
  return v
}
function stored(v) { return valueof("=" v) != v ? "\"" v "\"" : v }
function section(name,   i) { for (i = 1; i <= n; i++) if (header(line[i]) == tolower(name)) return i; return 0 }
function key(s, name,   i) {
  for (i = s + 1; i <= n && header(line[i]) == SUBSEP; i++) if (keyof(line[i]) == name) return i
  return 0
}
function get(name, k,   s, i) { s = section(name); i = s ? key(s, k) : 0; return i ? valueof(line[i]) : "" }
function set(name, k, value,   s, i, at) {
  value = k "=" stored(value)
  if (!(s = section(name))) { line[++n] = "[" name "]"; line[++n] = value; return }
  if ((i = key(s, k))) { line[i] = value; return }
  for (at = s + 1; at <= n && header(line[at]) == SUBSEP; at++);
  while (at - 1 > s && trim(line[at - 1]) == "") at--
  for (i = n; i >= at; i--) line[i + 1] = line[i]
  line[at] = value; n++
}
BEGIN { RS = "\r\n|\r|\n"; current = SUBSEP }
{
  line[++n] = $0
  if ((name = header($0)) != SUBSEP) { current = (name in seen) ? SUBSEP : name; seen[name] }
  else if (current != SUBSEP && keyof($0) == "path" && !(current in path)) path[current] = valueof($0)
}
END {
  pairs = split(ENVIRON["LUMI_SETS"], sets, " ")
  for (i = 1; i <= pairs; i++) set("GENERAL", substr(sets[i], 1, index(sets[i], "=") - 1), substr(sets[i], index(sets[i], "=") + 1))
  count = get("GENERAL", "pathcount") + 0
  folder = ENVIRON["LUMI_FOLDER"]
  for (name in path) if (name ~ /^[1-9][0-9]*$/ && name + 0 <= count && tolower(path[name]) == tolower(folder)) listed = 1
  if (!listed) {
    number = (count > 0 ? count : 0) + 1
    set("GENERAL", "pathcount", number); set(number, "path", folder); set(number, "time", "")
  }
  for (i = 1; i <= n; i++) printf "%s\r\n", line[i] > ENVIRON["LUMI_EDITED"]
  interval = get("GENERAL", "playinterval")
  print (interval == "" ? 15 : interval + 0)
}'

text="$(mktemp)" edited="$(mktemp)"
trap 'rm -f "$text" "$edited" "$ini.new"' EXIT
if ! decode >"$text"; then
  echo "demo-config: $ini is not text the program reads; left as it is" >&2
  exit 1
fi
interval="$(LUMI_EDITED="$edited" awk "$edit" "$text")"
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$edited"; } >"$ini.new"
mv "$ini.new" "$ini"
echo "$interval"
