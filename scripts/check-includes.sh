#!/usr/bin/env bash
# Checks the include direction of src/ and tests/: a module includes only modules at or below
# its level, and a widget-free target includes neither a widget header nor a module that may
# use widgets. Lists every offending line and fails when there is one. Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."

# One line per module: folder under src/ (and tests/), level, widget-free. A "*" stands for one
# folder name. The longest matching folder decides; a file under no row is not checked.
modules='
common          0  yes
platform        1  no
controls        2  no
grid            2  no
tree            2  no
tree/core       2  yes
ruleedit        3  no
ruleedit/core   3  yes
config          4  no
config/core     4  yes
editors/*       4  no
editors/*/core  4  yes
shell           5  no
'

# The Widgets module's headers, from the installed Qt when it is found.
widget_headers="QWidget QApplication QDialog QMainWindow QAbstractButton QPushButton QLabel"
for d in /usr/include/*/qt6/QtWidgets /usr/include/qt6/QtWidgets; do
  if [ -d "$d" ]; then
    widget_headers="$(cd "$d" && ls | grep -v '\.h$' | tr '\n' ' ')"
    break
  fi
done

git ls-files --cached --others --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' |
  while IFS= read -r f; do [ -f "$f" ] && echo "$f"; done |
  xargs awk -v modules="$modules" -v widgets="$widget_headers" '
    BEGIN {
      n = split(modules, rows, "\n")
      for (i = 1; i <= n; ++i) {
        if (split(rows[i], c, " ") < 3) continue
        ++count
        path[count] = c[1]; level[count] = c[2]; free[count] = c[3]
        re = c[1]; gsub(/\*/, "[^/]+", re)
        pattern[count] = "^" re "/"
        depth[count] = gsub(/\//, "/", c[1])
      }
      split(widgets, w, " ")
      for (i in w) widget[w[i]] = 1
    }
    # Row of the module that holds the path (relative to src/ or tests/), or 0.
    function module_of(p,   i, best) {
      best = 0
      for (i = 1; i <= count; ++i)
        if (p ~ pattern[i] && (best == 0 || depth[i] > depth[best])) best = i
      return best
    }
    function report(msg) { print FILENAME ":" FNR ": " msg > "/dev/stderr"; ++faults }
    FNR == 1 { rel = FILENAME; sub(/^[^\/]+\//, "", rel); own = module_of(rel) }
    own && /^[ \t]*#[ \t]*include[ \t]*</ {
      inc = $0; sub(/^[^<]*</, "", inc); sub(/>.*/, "", inc)
      base = inc; sub(/.*\//, "", base)
      if (free[own] == "yes" && (inc ~ /^QtWidgets(\/|$)/ || base in widget))
        report("widget-free " path[own] " includes the widget header <" inc ">")
      next
    }
    own && /^[ \t]*#[ \t]*include[ \t]*"/ {
      inc = $0; sub(/^[^"]*"/, "", inc); sub(/".*/, "", inc)
      other = module_of(inc)
      if (!other) next
      if (level[other] > level[own])
        report(path[own] " (level " level[own] ") includes " path[other] " (level " level[other] "): \"" inc "\"")
      else if (free[own] == "yes" && free[other] != "yes")
        report("widget-free " path[own] " includes " path[other] ", which may use widgets: \"" inc "\"")
    }
    END {
      if (faults) {
        print "check-includes: " faults " includes against the module order (see the table in scripts/check-includes.sh)" > "/dev/stderr"
        exit 1
      }
      print "check-includes: include direction kept"
    }'
