# Writes the installation medium: vextsetup.exe, each deliverable compressed in SZDD form under
# the copy table's source name, and README.txt that lists what else the folder needs.
#   cmake -DOUT=dir -DSETUP_EXE=file -DDELIVERABLES="a.dll;b.dll" -DMISSING="name;..."
#         -DMSCOMPRESS=program -DREADME_IN=template -P make_medium.cmake
file(MAKE_DIRECTORY "${OUT}")
file(COPY_FILE "${SETUP_EXE}" "${OUT}/vextsetup.exe" ONLY_IF_DIFFERENT)

set(contents "vextsetup.exe")
foreach(dll IN LISTS DELIVERABLES)
  get_filename_component(name "${dll}" NAME)
  # The medium's name ends in '_' for the extension's last letter: vextlink.dll -> vextlink.dl_.
  string(REGEX REPLACE ".$" "_" packed "${name}")
  set(work "${OUT}/${name}")
  file(COPY_FILE "${dll}" "${work}")
  file(REMOVE "${work}_")
  execute_process(COMMAND "${MSCOMPRESS}" "${work}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${work}_")
    message(FATAL_ERROR "mscompress failed on ${name}")
  endif()
  file(RENAME "${work}_" "${OUT}/${packed}")
  file(REMOVE "${work}")
  string(APPEND contents ", ${packed}")
endforeach()

set(missing_note "")
foreach(name IN LISTS MISSING)
  string(APPEND missing_note
    "NOT YET BUILT: ${name}.dl_ is missing from this medium: this build has no ${name}.dll.\n")
endforeach()
if(missing_note)
  message(STATUS "Installation medium without: ${MISSING}")
endif()
configure_file("${README_IN}" "${OUT}/README.txt" @ONLY NEWLINE_STYLE CRLF)
