# Run by CPack on the staged files before it packs them: takes the compilers' version notes
# (.comment) out of the programs, as Debian's own strip step does.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*"
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/libexec/tarmioview/*")
foreach(program ${programs})
  execute_process(COMMAND objcopy --remove-section=.comment ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
