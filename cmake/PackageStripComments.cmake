# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the staged files of the package: removes the
# .comment section, which only names the compiler, from the ELF files, as Debian's own
# packaging does.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS staged)
    if(IS_SYMLINK "${file}")
        continue()
    endif()
    file(READ "${file}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
        execute_process(COMMAND "${CPACK_CHROMINT_OBJCOPY}" --remove-section=.comment "${file}"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
