# Program files for tests and seeds, written by srec_cat at build time so that their records come
# from an independent tool.
find_program(SREC_CAT srec_cat REQUIRED)

# srec_program(OUTPUT INPUT <srec_cat input> FORMAT <output options> [FLASH file] [ADD_TO var])
# writes OUTPUT as Motorola S-records. FLASH also receives the flash image the program leaves in
# the device: the file laid over an erased 512 KiB flash. ADD_TO appends the files to var.
function(srec_program output)
    cmake_parse_arguments(PARSE_ARGV 1 program "" "FLASH;ADD_TO" "INPUT;FORMAT")
    get_filename_component(folder ${output} DIRECTORY)
    set(outputs ${output})
    set(commands
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${SREC_CAT} ${program_INPUT} -o ${output} -motorola ${program_FORMAT})
    if(program_FLASH)
        list(APPEND outputs ${program_FLASH})
        list(APPEND commands
            COMMAND ${SREC_CAT} ${output} -fill 0xFF 0 0x80000 -o ${program_FLASH} -binary)
    endif()
    add_custom_command(OUTPUT ${outputs} ${commands} VERBATIM)
    if(program_ADD_TO)
        set(${program_ADD_TO} ${${program_ADD_TO}} ${outputs} PARENT_SCOPE)
    endif()
endfunction()
