# Brings the desktop's caches under a data directory (share/) in line with the files
# that are there now, after an install or an uninstall:
#   mime/          the shared MIME database is rebuilt from mime/packages; when no
#                  package is left the generated database is removed with it
#   applications/  mimeinfo.cache, which maps document types to menu entries
#   icons/hicolor/ icon-theme.cache, only where one already exists: a stale cache
#                  would hide new icons, while no cache makes toolkits scan the files
# A missing tool is not an error: the files work, desktops pick them up on next login.

function(_vmr_run_tool)
    execute_process(COMMAND ${ARGN}
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
        list(JOIN ARGN " " command)
        message(WARNING "${command} failed (${rc}): ${out}")
    endif()
endfunction()

# The files update-mime-database writes beside packages/.
set(_VMR_MIME_GENERATED aliases generic-icons globs globs2 icons magic mime.cache subclasses
    treemagic types version XMLnamespaces)

function(_vmr_refresh_mime mimedir)
    if(NOT IS_DIRECTORY "${mimedir}")
        return()
    endif()
    file(GLOB packages "${mimedir}/packages/*.xml")
    if(packages)
        find_program(update_mime update-mime-database NO_CACHE)
        if(update_mime)
            message(STATUS "Updating the MIME database in ${mimedir}")
            _vmr_run_tool("${update_mime}" "${mimedir}")
        endif()
        return()
    endif()
    # No type is declared here any more: what is left was generated from ours.
    foreach(name ${_VMR_MIME_GENERATED})
        if(EXISTS "${mimedir}/${name}")
            file(REMOVE "${mimedir}/${name}")
        endif()
    endforeach()
    file(GLOB media LIST_DIRECTORIES true "${mimedir}/*")
    foreach(dir ${media})
        if(IS_DIRECTORY "${dir}")
            file(GLOB_RECURSE others LIST_DIRECTORIES false "${dir}/*")
            list(FILTER others EXCLUDE REGEX "\\.xml$")
            if(NOT others)
                file(REMOVE_RECURSE "${dir}")
            endif()
        endif()
    endforeach()
    message(STATUS "Removed the empty MIME database in ${mimedir}")
endfunction()

function(_vmr_refresh_applications appdir)
    if(NOT IS_DIRECTORY "${appdir}")
        return()
    endif()
    file(GLOB_RECURSE entries "${appdir}/*.desktop")
    if(entries)
        find_program(update_desktop update-desktop-database NO_CACHE)
        if(update_desktop)
            message(STATUS "Updating the desktop entry cache in ${appdir}")
            _vmr_run_tool("${update_desktop}" -q "${appdir}")
        endif()
    elseif(EXISTS "${appdir}/mimeinfo.cache")
        file(REMOVE "${appdir}/mimeinfo.cache")
    endif()
endfunction()

function(_vmr_refresh_icons themedir)
    if(NOT EXISTS "${themedir}/icon-theme.cache")
        return()
    endif()
    find_program(update_icons gtk-update-icon-cache NO_CACHE)
    if(update_icons)
        message(STATUS "Updating the icon cache in ${themedir}")
        _vmr_run_tool("${update_icons}" -q -t -f "${themedir}")
    endif()
endfunction()

function(vmr_refresh_desktop_caches datadir)
    _vmr_refresh_mime("${datadir}/mime")
    _vmr_refresh_applications("${datadir}/applications")
    _vmr_refresh_icons("${datadir}/icons/hicolor")
endfunction()
