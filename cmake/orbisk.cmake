# Stages the installation directory (scripts, images, help, templates, translations)
# into the build tree so that the program and the tests run against a real one.
file(GLOB VMR_TS_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/translations/vmreditor_*.ts)
set(VMR_QM_FILES)
foreach(ts ${VMR_TS_FILES})
    get_filename_component(base ${ts} NAME_WE)
    set(qm ${VMR_ORBISK_DIR}/lib/locale/${base}.qm)
    add_custom_command(OUTPUT ${qm}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VMR_ORBISK_DIR}/lib/locale
        COMMAND Qt6::lrelease -silent ${ts} -qm ${qm}
        DEPENDS ${ts}
        COMMENT "Compiling translation ${base}")
    list(APPEND VMR_QM_FILES ${qm})
endforeach()

file(GLOB_RECURSE VMR_INSTALL_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/lib/scripts/*
    ${CMAKE_SOURCE_DIR}/lib/images/*
    ${CMAKE_SOURCE_DIR}/doc/*
    ${CMAKE_SOURCE_DIR}/targets/*)
set(VMR_STAMP ${CMAKE_BINARY_DIR}/orbisk.stamp)
add_custom_command(OUTPUT ${VMR_STAMP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VMR_ORBISK_DIR}/lib/locale
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/lib/scripts ${VMR_ORBISK_DIR}/lib/scripts
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/lib/images ${VMR_ORBISK_DIR}/lib/images
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/doc ${VMR_ORBISK_DIR}/doc
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/targets ${VMR_ORBISK_DIR}/targets
    COMMAND ${CMAKE_COMMAND} -E touch ${VMR_STAMP}
    DEPENDS ${VMR_INSTALL_SOURCES}
    COMMENT "Staging the installation directory ${VMR_ORBISK_DIR}")
add_custom_target(orbisk ALL DEPENDS ${VMR_STAMP} ${VMR_QM_FILES})
