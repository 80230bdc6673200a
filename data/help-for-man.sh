#!/bin/sh
# help2man's go-between: runs PROGRAM OPTION and passes the text on, with the
# further usage lines, aligned under the first, marked "or:", the only form
# that help2man takes into the synopsis.
"$1" "$2" | sed '/^Usage:/,/^$/ s/^ \{6,\}\([^ ]\)/   or: \1/'
