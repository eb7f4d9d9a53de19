# Writes the package's copyright file (Debian's machine-readable format) with
# the display font's licence text in full, as Debian asks of a licence that is
# not among its common ones. Run as: cmake -DLICENCE=... -DOUTPUT=... -P
if(NOT EXISTS "${LICENCE}")
  message(FATAL_ERROR "copyright: ${LICENCE} is missing (run scripts/fetch-fonts.sh)")
endif()
file(READ "${LICENCE}" licence)
# A licence text is a field's continuation: each line indented by a space, an
# empty line written as " .".
string(REPLACE "\r" "" licence "${licence}")
string(REGEX REPLACE "\n+$" "" licence "${licence}")
string(REGEX REPLACE "\n" "\n " licence " ${licence}")
string(REGEX REPLACE "\n \n" "\n .\n" licence "${licence}")
string(REGEX REPLACE "\n \n" "\n .\n" licence "${licence}")
file(WRITE "${OUTPUT}" "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: kelpo-widget

Files: *
Copyright: the kelpo-widget developers
License: unspecified
 The widget's own code and pictures carry no licence statement yet.

Files: resources/fonts/*
Copyright: 2022 The Bricolage Grotesque Project Authors (https://github.com/ateliertriay/bricolage)
License: OFL-1.1
${licence}
")
