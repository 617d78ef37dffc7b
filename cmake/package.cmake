# Packs the Windows programs and the read-me into one zip (pack_zip.py), the
# same bytes wherever and whenever it is built from one commit: the entries
# in a fixed order, each dated at the commit's time in UTC; beside it, its
# SHA-256.
# Run with -DSOURCE=<source folder> -DFOLDER=<folder of the files>
# -DPACKAGE=<zip> -DFILES=<names, in order, separated by commas>.
string(REPLACE "," ";" FILES "${FILES}")
# The commit's time in UTC, as the zip's entries carry it.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC
    git -C ${SOURCE} log -1 --format=%cd --date=format-local:%Y-%m-%d\ %H:%M:%S
  OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed ERROR_QUIET)
if(failed OR date STREQUAL "")
  # Not built from a checkout: a fixed date still gives the same bytes.
  set(date "2026-01-01 00:00:00")
endif()
file(REMOVE ${PACKAGE})
execute_process(COMMAND python3 ${SOURCE}/cmake/pack_zip.py ${PACKAGE} ${date} ${FILES}
  WORKING_DIRECTORY ${FOLDER} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot pack ${PACKAGE}")
endif()
file(SHA256 ${PACKAGE} sum)
get_filename_component(name ${PACKAGE} NAME)
file(WRITE ${PACKAGE}.sha256 "${sum}  ${name}\n")
