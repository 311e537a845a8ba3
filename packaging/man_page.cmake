# tnupdate's manual page, made by help2man from the program's own help: its
# --help and --version, and each command's help as the section COMMANDS
# (command_help.sh). Made where the program runs (not in a cross build) and
# help2man is installed; the Debian package build requires it.
find_program(TN_HELP2MAN help2man)
if(TN_HELP2MAN AND NOT CMAKE_CROSSCOMPILING)
  set(TN_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/tnupdate.1)
  add_custom_command(OUTPUT ${TN_MAN_PAGE}.gz
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/command_help.sh $<TARGET_FILE:tnupdate> commands.h2m
    COMMAND ${TN_HELP2MAN} --no-info --include=commands.h2m
            "--name=bring a user's per-release folders forward to a new release"
            --output=${TN_MAN_PAGE} $<TARGET_FILE:tnupdate>
    COMMAND gzip -9nf ${TN_MAN_PAGE}
    DEPENDS tnupdate command_help.sh
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    VERBATIM)
  add_custom_target(tnupdate_man_page ALL DEPENDS ${TN_MAN_PAGE}.gz)
  install(FILES ${TN_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
endif()
